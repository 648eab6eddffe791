// The user dictionary file: as another program writes it, cut short or lying, long words, and
// saves that fail half-way.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "EngineFiles.h"
#include "engine/UserDictionary.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

using testing::PutU32;

// The files of a folder that are not the user dictionary itself (temporary files left behind).
std::vector<std::string> Leftovers(const std::string& usrPath) {
  std::vector<std::string> names;
  const std::filesystem::path usr(usrPath);
  for (const auto& entry : std::filesystem::directory_iterator(usr.parent_path())) {
    if (entry.path().filename() != usr.filename()) names.push_back(entry.path().filename().string());
  }
  return names;
}

std::string SampleFile() {
  std::string file;
  PutU32(file, 2);
  testing::PutUsrWord(file, u"w\u00F6rld");
  testing::PutUsrWord(file, u"ab");
  PutU32(file, 3);  // in map order
  testing::PutUsrRecord(file, u"cat", 7, 5, 40);
  testing::PutUsrRecord(file, u"cats", -3, -2, 65535);
  testing::PutUsrRecord(file, u"dog", 0, 20, 1);
  PutU32(file, 123);
  return file;
}

TEST(UserDictionaryTest, ReadsAndWritesTheFileByteForByte) {
  UserDictionary user;
  const UserDictionaryLoadReport report = user.LoadBytes(SampleFile());
  EXPECT_FALSE(report.truncated);
  EXPECT_FALSE(report.trailingBytes);
  EXPECT_EQ(user.Words(), (std::vector<std::u16string>{u"w\u00F6rld", u"ab"}));
  ASSERT_EQ(user.Adaptations().size(), 3u);
  const AdaptationRecord& cats = user.Adaptations().at(u"cats");
  EXPECT_EQ(cats.entry, -3);
  EXPECT_EQ(cats.count, -2);
  EXPECT_EQ(cats.base, 65535);
  EXPECT_EQ(user.Adaptations().at(u"cat").entry, 7);
  EXPECT_EQ(user.DecayDay(), 123u);
  EXPECT_EQ(user.FileBytes(), SampleFile());

  testing::TempDir dir;
  const std::string path = dir.File("English.usr");
  ASSERT_TRUE(user.SaveUserDictionary(path));
  EXPECT_EQ(testing::ReadBytes(path), SampleFile());
  EXPECT_TRUE(Leftovers(path).empty());
  UserDictionary again;
  EXPECT_TRUE(again.LoadUserDictionary(path));
  EXPECT_EQ(again.FileBytes(), SampleFile());

  // Empty lists with a stored day; a missing file is an empty dictionary.
  std::string empty;
  PutU32(empty, 0);
  PutU32(empty, 0);
  PutU32(empty, 45);
  user.LoadBytes(empty);
  EXPECT_EQ(user.WordCount(), 0u);
  EXPECT_TRUE(user.Adaptations().empty());
  EXPECT_EQ(user.DecayDay(), 45u);
  EXPECT_FALSE(user.LoadUserDictionary(dir.File("absent.usr")));
  EXPECT_EQ(user.DecayDay(), 0u);
}

TEST(UserDictionaryTest, RepeatedRecordKeepsTheFirst) {
  std::string file;
  PutU32(file, 0);
  PutU32(file, 2);
  testing::PutUsrRecord(file, u"cat", 1, 2, 3);
  testing::PutUsrRecord(file, u"cat", 4, 5, 6);
  PutU32(file, 9);
  UserDictionary user;
  EXPECT_EQ(user.LoadBytes(file).duplicateRecords, 1u);
  EXPECT_EQ(user.Adaptations().at(u"cat").base, 3);
  EXPECT_EQ(user.DecayDay(), 9u);
}

TEST(UserDictionaryTest, CutAndLyingFilesKeepWhatIsComplete) {
  const std::string whole = SampleFile();
  for (size_t size = 0; size < whole.size(); ++size) {
    UserDictionary user;
    const UserDictionaryLoadReport report = user.LoadBytes(whole.substr(0, size));
    EXPECT_TRUE(report.truncated) << size;
    EXPECT_EQ(user.DecayDay(), 0u) << size;
    EXPECT_LE(user.WordCount(), 2u);
    EXPECT_LE(user.Adaptations().size(), 3u);
  }
  // A cut inside the second word keeps the first.
  UserDictionary user;
  user.LoadBytes(whole.substr(0, 4 + 1 + 10 + 2));
  EXPECT_EQ(user.Words(), (std::vector<std::u16string>{u"w\u00F6rld"}));

  // Counts near 2^32 over a handful of bytes.
  std::string lying;
  PutU32(lying, 0xFFFFFFFFu);
  testing::PutUsrWord(lying, u"a");
  user.LoadBytes(lying);
  EXPECT_EQ(user.WordCount(), 1u);
  EXPECT_EQ(user.LastLoad().declaredWords, 0xFFFFFFFFu);
  lying.clear();
  PutU32(lying, 0);
  PutU32(lying, 0xFFFFFFF0u);
  testing::PutUsrRecord(lying, u"a", 1, 1, 1);
  lying += "\x05";  // a length without its word
  EXPECT_TRUE(user.LoadBytes(lying).truncated);
  EXPECT_EQ(user.Adaptations().size(), 1u);
  EXPECT_TRUE(user.LoadBytes(SampleFile() + "xy").trailingBytes);
}

TEST(UserDictionaryTest, WordsLongerThanTheFileHoldsAreLeftOut) {
  UserDictionary user;
  user.AppendWord(std::u16string(255, u'a'));
  user.AppendWord(std::u16string(256, u'b'));
  user.AppendWord(u"c");
  user.Adaptations()[std::u16string(300, u'd')] = {1, 1, 1};
  user.Adaptations()[u"e"] = {2, 2, 2};
  UserDictionary reread;
  const UserDictionaryLoadReport report = reread.LoadBytes(user.FileBytes());
  EXPECT_FALSE(report.truncated);
  EXPECT_FALSE(report.trailingBytes);
  EXPECT_EQ(reread.Words(), (std::vector<std::u16string>{std::u16string(255, u'a'), u"c"}));
  ASSERT_EQ(reread.Adaptations().size(), 1u);
  EXPECT_EQ(reread.Adaptations().at(u"e").entry, 2);
}

class UserDictionarySaveTest : public ::testing::Test {
 protected:
  UserDictionarySaveTest() {
    path = dir.Write("Languages/English.usr", SampleFile());
    user.AppendWord(u"replacement");
  }
  ~UserDictionarySaveTest() override { SetUserDictionaryWriteLimit(SIZE_MAX); }

  testing::TempDir dir;
  std::string path;
  UserDictionary user;
};

TEST_F(UserDictionarySaveTest, AFailedWriteLeavesThePreviousFile) {
  for (size_t limit : {size_t{0}, size_t{3}, size_t{10}}) {
    SetUserDictionaryWriteLimit(limit);
    EXPECT_FALSE(user.SaveUserDictionary(path)) << limit;
    EXPECT_EQ(testing::ReadBytes(path), SampleFile()) << limit;
    EXPECT_TRUE(Leftovers(path).empty()) << limit;
  }
  SetUserDictionaryWriteLimit(SIZE_MAX);
  ASSERT_TRUE(user.SaveUserDictionary(path));
  UserDictionary reread;
  reread.LoadUserDictionary(path);
  EXPECT_EQ(reread.Words(), (std::vector<std::u16string>{u"replacement"}));
}

TEST_F(UserDictionarySaveTest, ATemporaryFileThatCannotBeMadeLeavesThePreviousFile) {
  // The temporary file is the writer's own, so one left by another writer is in nobody's way.
  std::filesystem::create_directory(path + ".tmp");
  EXPECT_TRUE(user.SaveUserDictionary(path));
  // A folder that does not exist: nothing is made.
  EXPECT_FALSE(user.SaveUserDictionary(dir.File("Absent/English.usr")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("Absent")));
}

}  // namespace
}  // namespace tessaline
