// The seams between the core and the machine: device paths, file search, clocks and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestFiles.h"
#include "system/Clock.h"
#include "system/DataFiles.h"
#include "system/FileSearch.h"
#include "system/Messages.h"

namespace tessaline {
namespace {

using testing::DeviceRootScope;
using testing::TempDir;

TEST(DataFilesTest, DevicePathsLandUnderTheDeviceRoot) {
  TempDir dir;
  DeviceRootScope root(dir.Path());
  dir.Write("Program files/Tessaline/Languages/English.chr", "locale=en\n");
  FILE* f = OpenDataFile("\\Program files\\Tessaline\\Languages\\English.chr", "rb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(OpenDataFile("\\Program files\\Tessaline\\Languages\\Absent.chr", "rb"), nullptr);
}

TEST(DataFilesTest, EmptyInstallFolderRootsPathsAtTheTop) {
  TempDir dir;
  DeviceRootScope root(dir.Path());
  dir.Write("Languages/English.chr", "x=1\n");
  FILE* f = OpenDataFile("\\Languages\\English.chr", "rb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
}

// A file rewritten through a temporary file: whole or not at all, and no temporary file left.
TEST(DataFilesTest, AWholeWriteReplacesTheFileAndAFailedOneLeavesItAsItWas) {
  TempDir dir;
  DeviceRootScope root(dir.Path());
  const std::string bytes("a\0b\xFF\r\n", 6);
  ASSERT_TRUE(WriteDataFileWhole("\\f.bin", bytes, "\\f.bin.tmp"));
  EXPECT_EQ(testing::ReadBytes(dir.File("f.bin")), bytes);
  ASSERT_TRUE(WriteDataFileWhole("\\f.bin", "short", "\\f.bin.tmp"));
  EXPECT_EQ(testing::ReadBytes(dir.File("f.bin")), "short");
  EXPECT_FALSE(std::filesystem::exists(dir.File("f.bin.tmp")));

  // The temporary file cannot be made: nothing changes.
  EXPECT_FALSE(WriteDataFileWhole("\\f.bin", "other", "\\no folder\\f.tmp"));
  EXPECT_EQ(testing::ReadBytes(dir.File("f.bin")), "short");
  // It cannot take the place of a folder: the temporary file goes again.
  std::filesystem::create_directories(dir.File("folder/inside"));
  EXPECT_FALSE(WriteDataFileWhole("\\folder", "other", "\\folder.tmp"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("folder.tmp")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder/inside")));
}

// The steps of a writer of its own: a failed step is never followed by the next one, and the
// temporary file is removed after any failure.
TEST(DataFilesTest, WritingThroughATemporaryFileStopsAtTheFirstFailedStep) {
  struct Steps {
    bool write = true, replace = true;
    std::vector<std::string> calls;
    bool WriteTemporary(const std::string& temporary, const std::string& bytes) {
      calls.push_back("write " + temporary + " " + bytes);
      return write;
    }
    bool Replace(const std::string& temporary, const std::string& path) {
      calls.push_back("replace " + temporary + " " + path);
      return replace;
    }
    void Remove(const std::string& temporary) { calls.push_back("remove " + temporary); }
  };
  const std::string bytes = "xy";
  Steps ok;
  EXPECT_TRUE(WriteThroughTemporary(ok, "p", "t", bytes));
  EXPECT_EQ(ok.calls, (std::vector<std::string>{"write t xy", "replace t p"}));
  Steps unwritten;
  unwritten.write = false;
  EXPECT_FALSE(WriteThroughTemporary(unwritten, "p", "t", bytes));
  EXPECT_EQ(unwritten.calls, (std::vector<std::string>{"write t xy", "remove t"}));
  Steps unplaced;
  unplaced.replace = false;
  EXPECT_FALSE(WriteThroughTemporary(unplaced, "p", "t", bytes));
  EXPECT_EQ(unplaced.calls, (std::vector<std::string>{"write t xy", "replace t p", "remove t"}));
}

TEST(FileSearchTest, WildcardsIgnoreAsciiCase) {
  EXPECT_TRUE(WildcardMatch(u"*.chr", u"English.CHR"));
  EXPECT_TRUE(WildcardMatch(u"*.chr", u"a.b.chr"));
  EXPECT_FALSE(WildcardMatch(u"*.chr", u"English.chr.bak"));
  EXPECT_TRUE(WildcardMatch(u"?b*", u"abc"));
  EXPECT_FALSE(WildcardMatch(u"?b*", u"bc"));
  EXPECT_TRUE(WildcardMatch(u"*", u""));
}

TEST(FileSearchTest, FindsMatchingFilesButNotFolders) {
  TempDir dir;
  DeviceRootScope root(dir.Path());
  dir.Write("L/English.chr", "");
  dir.Write("L/German.CHR", "");
  dir.Write("L/Old.chr.bak", "");
  dir.Write("L/Folder.chr/inner.txt", "");
  std::vector<WideString> names = FindFiles(u"\\L\\*.chr");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<WideString>{u"English.chr", u"German.CHR"}));
  EXPECT_TRUE(FindFiles(u"\\Nowhere\\*.chr").empty());
}

TEST(ClockTest, DayOfYearCountsFromZero) {
  EXPECT_EQ(DayOfYear(2026, 1, 1), 0);
  EXPECT_EQ(DayOfYear(2026, 12, 31), 364);
  EXPECT_EQ(DayOfYear(2024, 12, 31), 365);
  EXPECT_EQ(DayOfYear(2024, 3, 1), 60);
  EXPECT_EQ(DayOfYear(2100, 3, 1), 59);
}

TEST(ClockTest, TestsControlTheClocks) {
  SetUtcDateSource([] { return UtcDate{2026, 2, 3, 33}; });
  SetMillisecondSource([] { return 1234u; });
  EXPECT_EQ(CurrentUtcDate().dayOfYear, 33);
  EXPECT_EQ(MillisecondClock(), 1234u);
  SetUtcDateSource({});
  SetMillisecondSource({});
  const UtcDate now = CurrentUtcDate();
  EXPECT_GE(now.year, 2024);
  EXPECT_EQ(now.dayOfYear, DayOfYear(now.year, now.month, now.day));
}

TEST(MessagesTest, RecorderSeesTextCaptionAndStyle) {
  testing::MessageRecorder recorder(kAnswerCancel);
  EXPECT_EQ(ShowMessage(u"Can't load bitmap", kMessageOk), kAnswerCancel);
  EXPECT_EQ(ShowMessage(u"path", u"Caption", kMessageIconError), kAnswerCancel);
  ASSERT_EQ(recorder.Calls().size(), 2u);
  EXPECT_FALSE(recorder.Calls()[0].hasCaption);
  EXPECT_EQ(recorder.Calls()[1].caption, u"Caption");
  EXPECT_EQ(recorder.Calls()[1].style, static_cast<unsigned>(kMessageIconError));
}

}  // namespace
}  // namespace tessaline
