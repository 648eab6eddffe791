// The active language pair from the settings.
#include <gtest/gtest.h>

#include "EngineFiles.h"
#include "engine/ActiveLanguages.h"
#include "languages/InterfaceTexts.h"
#include "settings/Settings.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

class ActiveLanguagesTest : public ::testing::Test {
 protected:
  ActiveLanguagesTest() : root(dir.Path()) {
    ResetSettings(GetSettings());
    SetSettingsText(GetSettings().Path, u"\\Tess");
  }
  ~ActiveLanguagesTest() override {
    FreeActiveLanguages();
    ResetSettings(GetSettings());
  }
  void Install(const std::string& name) {
    dir.Write("Tess/Languages/" + name + ".chr", testing::kTestLanguage);
    dir.Write("Tess/Languages/" + name + ".voc",
              testing::VocFile({{testing::Codes(name == "English" ? "cat" : "chat"), 9}}));
  }
  void Select(const char16_t* first, const char16_t* second) {
    SetSettingsText(GetSettings().Language0, first);
    SetSettingsText(GetSettings().Language1, second);
  }

  testing::TempDir dir;
  testing::DeviceRootScope root;
};

TEST_F(ActiveLanguagesTest, EmptyFirstLanguageIsEnglishAndLoadsOnce) {
  Install("English");
  Select(u"", u"English");
  LoadActiveLanguages();
  ASSERT_EQ(ActiveLanguageCount(), 1u);
  EXPECT_EQ(ActiveLanguage(0).Name(), u"English");
  EXPECT_EQ(ActiveLanguage(0).FilePath(), "\\Tess\\Languages\\English.chr");
  EXPECT_EQ(ActiveLanguage(0).EntryCount(), 1u);
  EXPECT_EQ(InterfaceText(1), u"First text");  // the interface texts were loaded as well
}

TEST_F(ActiveLanguagesTest, BothLanguagesInOrderAndAMissingFirstMovesTheSecondUp) {
  Install("English");
  Install("French");
  Select(u"French", u"English");
  GetSettings().FreqMax = 7;
  LoadActiveLanguages();
  ASSERT_EQ(ActiveLanguageCount(), 2u);
  EXPECT_EQ(ActiveLanguage(0).Name(), u"French");
  EXPECT_EQ(ActiveLanguage(1).Name(), u"English");
  EXPECT_EQ(ActiveLanguage(1).FreqMax(), 7);

  Select(u"German", u"French");
  LoadActiveLanguages();  // empties the list first
  ASSERT_EQ(ActiveLanguageCount(), 1u);
  EXPECT_EQ(ActiveLanguage(0).Name(), u"French");
  // The comparison is exact: "english" is another name, whose file the host may or may not
  // find, but "English" twice is one language.
  Select(u"English", u"English");
  LoadActiveLanguages();
  EXPECT_EQ(ActiveLanguageCount(), 1u);
  FreeActiveLanguages();
  EXPECT_EQ(ActiveLanguageCount(), 0u);
}

TEST_F(ActiveLanguagesTest, NeitherLanguageFoundIsOneMessage) {
  Select(u"", u"French");
  testing::MessageRecorder messages;
  LoadActiveLanguages();
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
  LoadActiveLanguages();
  EXPECT_EQ(ActiveLanguageCount(), 1u);
  EXPECT_EQ(messages.Texts(),
            std::vector<std::string>{"Can not load '\\Tess\\Languages\\English.voc' vocabulary"});
}

}  // namespace
}  // namespace tessaline
