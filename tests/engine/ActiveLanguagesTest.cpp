// The active language pair chosen in the settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>
#include <vector>

#include "EngineFiles.h"
#include "engine/ActiveLanguages.h"
#include "engine/UserDictionary.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

class ActiveLanguagesTest : public ::testing::Test {
 protected:
  ActiveLanguagesTest() : root(dir.Path()) { choice.installFolder = "\\Tess"; }
  ~ActiveLanguagesTest() override { FreeActiveLanguages(); }
  void Install(const std::string& name) {
    dir.Write("Tess/Languages/" + name + ".chr", testing::kTestLanguage);
    dir.Write("Tess/Languages/" + name + ".voc",
              testing::VocFile({{testing::Codes(name == "English" ? "cat" : "chat"), 9}}));
  }
  void Select(const char16_t* first, const char16_t* second) {
    choice.primary = first;
    choice.secondary = second;
  }
  void Load() { LoadActiveLanguages(choice); }

  testing::TempDir dir;
  testing::DeviceRootScope root;
  ActiveLanguageChoice choice;
};

TEST_F(ActiveLanguagesTest, EmptyFirstLanguageIsEnglishAndLoadsOnce) {
  Install("English");
  Select(u"", u"English");
  Load();
  ASSERT_EQ(ActiveLanguageCount(), 1u);
  EXPECT_EQ(ActiveLanguage(0).Name(), u"English");
  EXPECT_EQ(ActiveLanguage(0).FilePath(), "\\Tess\\Languages\\English.chr");
  EXPECT_EQ(ActiveLanguage(0).EntryCount(), 1u);
}

TEST_F(ActiveLanguagesTest, BothLanguagesInOrderAndAMissingFirstMovesTheSecondUp) {
  Install("English");
  Install("French");
  Select(u"French", u"English");
  choice.freqMax = 7;
  Load();
  ASSERT_EQ(ActiveLanguageCount(), 2u);
  EXPECT_EQ(ActiveLanguage(0).Name(), u"French");
  EXPECT_EQ(ActiveLanguage(1).Name(), u"English");
  EXPECT_EQ(ActiveLanguage(1).FreqMax(), 7);

  Select(u"German", u"French");
  Load();  // empties the list first
  ASSERT_EQ(ActiveLanguageCount(), 1u);
  EXPECT_EQ(ActiveLanguage(0).Name(), u"French");
  // The comparison is exact: "english" is another name, whose file the host may or may not
  // find, but "English" twice is one language.
  Select(u"English", u"English");
  Load();
  EXPECT_EQ(ActiveLanguageCount(), 1u);
  FreeActiveLanguages();
  EXPECT_EQ(ActiveLanguageCount(), 0u);
}

TEST_F(ActiveLanguagesTest, NeitherLanguageFoundIsOneMessage) {
  Select(u"", u"French");
  testing::MessageRecorder messages;
  Load();
  EXPECT_EQ(ActiveLanguageCount(), 0u);
  ASSERT_EQ(messages.Texts().size(), 1u);
  EXPECT_EQ(messages.Texts()[0], "Active languages not found ('English', 'French')");
  EXPECT_TRUE(messages.Calls()[0].hasCaption);
  EXPECT_TRUE(messages.Calls()[0].caption.empty());
  EXPECT_EQ(messages.Calls()[0].style, kMessageIconError);
}

TEST_F(ActiveLanguagesTest, LanguageWithoutVocabularyIsStillActive) {
  dir.Write("Tess/Languages/English.chr", testing::kTestLanguage);
  Select(u"English", u"");
  testing::MessageRecorder messages;
  Load();
  EXPECT_EQ(ActiveLanguageCount(), 1u);
  EXPECT_EQ(messages.Texts(),
            std::vector<std::string>{"Can not load '\\Tess\\Languages\\English.voc' vocabulary"});
}

// Loading again keeps a language only when reading its files would make the same object.
TEST_F(ActiveLanguagesTest, AnUnchangedLanguageIsKeptAndEveryChangeIsReadAgain) {
  Install("English");
  Install("French");
  Select(u"English", u"French");
  Load();
  ASSERT_EQ(ActiveLanguageCount(), 2u);
  ActiveLanguage(1);
  // How many of the two are read again, both asked for after loading.
  const auto reload = [this] {
    const size_t before = LanguagesRead();
    Load();
    EXPECT_EQ(ActiveLanguageCount(), 2u);
    ActiveLanguage(0);
    ActiveLanguage(1);
    return LanguagesRead() - before;
  };
  const Language* kept = &ActiveLanguage(0);
  EXPECT_EQ(reload(), 0u);
  EXPECT_EQ(&ActiveLanguage(0), kept);

  // The options' Save of the user's words rewrites the user dictionary: read again, with them.
  const std::string userPath = "\\Tess\\Languages\\English.usr";
  UserDictionary page;
  page.LoadUserDictionary(userPath);
  page.AppendWord(u"bat");
  ASSERT_TRUE(page.SaveUserDictionary(userPath));
  EXPECT_EQ(reload(), 1u);
  const Language& reread = ActiveLanguage(0);
  EXPECT_EQ(reread.User().Words(), std::vector<WideString>{u"bat"});
  EXPECT_EQ(reload(), 0u);
  // Saved once more with the same words (the same size): still another file.
  ASSERT_TRUE(page.SaveUserDictionary(userPath));
  EXPECT_EQ(reload(), 1u);

  // A change in memory, saved or not, makes the language be read again; a word not saved yet is
  // not lost with the object: the language read again has it, and its next save writes it.
  ASSERT_TRUE(ActiveLanguage(1).AddUserWord(u"dog"));
  EXPECT_EQ(reload(), 1u);
  const Language& asOnDisk = ActiveLanguage(1);
  EXPECT_EQ(asOnDisk.User().Words(), std::vector<WideString>{u"dog"});
  ActiveLanguage(1).LearnWord(u"chat");
  ActiveLanguage(1).StoreUserDictionary();
  EXPECT_EQ(reload(), 1u);

  // A settings value the language is made with, and a vocabulary replaced on disk.
  choice.freqInc = 3;
  EXPECT_EQ(reload(), 2u);
  EXPECT_EQ(ActiveLanguage(0).FreqInc(), 3);
  // The language uses its vocabulary file in place: under Win32 no program may write it while
  // it is in use; natively another file may take its place.
  const std::string frenchVoc = dir.File("Tess/Languages/French.voc");
#ifdef _WIN32
  FILE* writer = std::fopen(frenchVoc.c_str(), "wb");
  EXPECT_EQ(writer, nullptr);
  if (writer) std::fclose(writer);
  EXPECT_EQ(reload(), 0u);
#else
  const std::string replacement = dir.Write(
      "Tess/Languages/French.new",
      testing::VocFile({{testing::Codes("chat"), 9}, {testing::Codes("chien"), 5}}));
  ASSERT_EQ(std::rename(replacement.c_str(), frenchVoc.c_str()), 0);
  EXPECT_EQ(reload(), 1u);
  EXPECT_EQ(ActiveLanguage(1).EntryCount(), 3u);  // "chat", "chien" and the user's "dog"
#endif

  // The order of the two languages follows the settings; kept objects move with them.
  const Language* english = &ActiveLanguage(0);
  const Language* french = &ActiveLanguage(1);
  const size_t read = LanguagesRead();
  Select(u"French", u"English");
  Load();
  EXPECT_EQ(&ActiveLanguage(0), french);
  EXPECT_EQ(&ActiveLanguage(1), english);
  EXPECT_EQ(LanguagesRead(), read);
}

// Loading reads the first language only; the second is read when it is first asked for (the
// language key), with its messages then, and kept like any other once read.
TEST_F(ActiveLanguagesTest, TheSecondLanguageIsReadWhenFirstAskedFor) {
  Install("English");
  dir.Write("Tess/Languages/French.chr", testing::kTestLanguage);  // no vocabulary
  Select(u"English", u"French");
  testing::MessageRecorder messages;
  const size_t before = LanguagesRead();
  Load();
  ASSERT_EQ(ActiveLanguageCount(), 2u);
  EXPECT_EQ(LanguagesRead() - before, 1u);
  EXPECT_TRUE(ActiveLanguageRead(0));
  EXPECT_FALSE(ActiveLanguageRead(1));
  EXPECT_FALSE(ActiveLanguageRead(2));
  EXPECT_TRUE(messages.Texts().empty());

  // Loading again before the second was asked for still leaves it unread.
  Load();
  EXPECT_EQ(LanguagesRead() - before, 1u);
  EXPECT_FALSE(ActiveLanguageRead(1));

  // Its vocabulary's message comes when it is read.
  EXPECT_EQ(ActiveLanguage(1).Name(), u"French");
  EXPECT_TRUE(ActiveLanguageRead(1));
  EXPECT_EQ(LanguagesRead() - before, 2u);
  EXPECT_EQ(messages.Texts(),
            std::vector<std::string>{"Can not load '\\Tess\\Languages\\French.voc' vocabulary"});
  // Read once: the same object is given again.
  const Language* french = &ActiveLanguage(1);
  EXPECT_EQ(&ActiveLanguage(1), french);
  EXPECT_EQ(LanguagesRead() - before, 2u);

  // A second language read whole is kept by the next load, and again when the two swap places.
  Install("French");
  Load();
  ActiveLanguage(1);
  const Language* whole = &ActiveLanguage(1);
  const size_t read = LanguagesRead();
  Load();
  EXPECT_TRUE(ActiveLanguageRead(1));
  EXPECT_EQ(&ActiveLanguage(1), whole);
  Select(u"French", u"English");
  Load();
  EXPECT_EQ(&ActiveLanguage(0), whole);
  EXPECT_EQ(LanguagesRead(), read);
}

// A vocabulary that did not load is read again, so that its message is shown again.
TEST_F(ActiveLanguagesTest, ALanguageThatFailedToLoadIsNeverKept) {
  dir.Write("Tess/Languages/English.chr", testing::kTestLanguage);
  Select(u"English", u"");
  testing::MessageRecorder messages;
  Load();
  Load();
  EXPECT_EQ(messages.Texts().size(), 2u);
}

}  // namespace
}  // namespace tessaline
