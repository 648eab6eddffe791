// Interface texts from the language file named by Locale, and the list of installed languages.
#include <gtest/gtest.h>

#include <algorithm>

#include "languages/InterfaceTexts.h"
#include "settings/Settings.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

class InterfaceTextsTest : public ::testing::Test {
 protected:
  InterfaceTextsTest() : root_(dir_.Path()) {
    ResetSettings(GetSettings());
    SetSettingsText(GetSettings().Path, u"\\Program files\\Tessaline");
  }
  ~InterfaceTextsTest() override {
    FreeInterfaceTexts();
    ResetSettings(GetSettings());
  }
  void Language(const std::string& name, const std::string& text) {
    dir_.Write("Program files/Tessaline/Languages/" + name, text);
  }

  testing::TempDir dir_;
  testing::DeviceRootScope root_;
};

TEST_F(InterfaceTextsTest, PresentMissingAndEmptyTexts) {
  Language("English.chr",
           "charset=0,0x61\ntext0=\"Active languages\"\ntext1=\"\"\ntext2\n"
           "text3=\"first\";text3=\"second\"\ntext4=\"\";text4=\"later\"\ntext100=Hundred\n"
           "[section]\ntext5=\"inside a section\"\n[end]\n");
  LoadInterfaceTexts();
  EXPECT_EQ(InterfaceText(0), u"Active languages");
  EXPECT_EQ(InterfaceText(1), u"Text #1");  // empty
  EXPECT_EQ(InterfaceText(2), u"Text #2");  // a key without a value
  EXPECT_EQ(InterfaceText(3), u"first");    // the first record counts
  EXPECT_EQ(InterfaceText(4), u"Text #4");  // ... even when it is empty
  EXPECT_EQ(InterfaceText(7), u"Text #7");
  EXPECT_EQ(InterfaceText(100), u"Hundred");
  EXPECT_EQ(InterfaceText(5), u"Text #5");  // only records at the top of the file
  EXPECT_EQ(InterfaceText(-1), u"Text #-1");
}

TEST_F(InterfaceTextsTest, TextsAreUtf8) {
  Language("English.chr",
           "text1=\"Gr\xC3\xBC\xC3\x9F"
           "e\"\ntext2=\"\xE2\x82\xAC \xF0\x9F\x98\x80\"\n"
           "text3=\"bad \xFF byte\"\n");
  LoadInterfaceTexts();
  EXPECT_EQ(InterfaceText(1), u"Gr\u00FC\u00DFe");
  EXPECT_EQ(InterfaceText(2), u"\u20AC \xD83D\xDE00");
  EXPECT_EQ(InterfaceText(3), u"bad \uFFFD byte");
}

TEST_F(InterfaceTextsTest, LocaleNamesTheFileAndEmptyMeansEnglish) {
  Language("English.chr", "text9=Languages\n");
  Language("Deutsch.chr", "text9=Sprachen\n");
  SetSettingsText(GetSettings().Locale, u"Deutsch");
  LoadInterfaceTexts();
  EXPECT_EQ(InterfaceText(9), u"Sprachen");
  SetSettingsText(GetSettings().Locale, u"");
  LoadInterfaceTexts();
  EXPECT_EQ(InterfaceText(9), u"Languages");
  // A locale without a file leaves no texts held, not the earlier ones.
  SetSettingsText(GetSettings().Locale, u"Klingon");
  LoadInterfaceTexts();
  EXPECT_EQ(InterfaceText(9), u"Text #9");
}

TEST_F(InterfaceTextsTest, EmptyPathLooksInTheRootAndSaysSo) {
  dir_.Write("Languages/English.chr", "text9=Root\n");
  SetSettingsText(GetSettings().Path, u"");
  testing::MessageRecorder messages;
  LoadInterfaceTexts();
  EXPECT_EQ(InterfaceText(9), u"Root");
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Can't find registry PATH key"});
}

TEST_F(InterfaceTextsTest, InstalledLanguages) {
  Language("English.chr", "");
  Language("German.CHR", "");
  Language("Old.chr.bak", "");
  Language("notes.txt", "");
  Language("a.b.chr", "");
  Language("Folder.chr/inside.chr", "");
  std::vector<WideString> names = ListInstalledLanguages();
  std::sort(names.begin(), names.end());  // the order is the file system's
  EXPECT_EQ(names, (std::vector<WideString>{u"English", u"German", u"a.b"}));
}

TEST_F(InterfaceTextsTest, NoLanguagesFolder) { EXPECT_TRUE(ListInstalledLanguages().empty()); }

}  // namespace
}  // namespace tessaline
