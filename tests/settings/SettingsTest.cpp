// The settings record: defaults, fixed text fields, and the paths built from the installation
// folder.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/Settings.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() { ResetSettings(GetSettings()); }
  ~SettingsTest() override { ResetSettings(GetSettings()); }
};

TEST_F(SettingsTest, Defaults) {
  Settings s;
  std::memset(&s, 0x5A, sizeof s);
  ResetSettings(s);
  EXPECT_EQ(s.UpdateCounter, 0u);
  EXPECT_EQ(s.NoiseGate, 0);
  EXPECT_EQ(SettingsText(s.Locale), u"English");
  EXPECT_EQ(SettingsText(s.Path), u"");
  EXPECT_EQ(SettingsText(s.ActiveLayout), u"main");
  EXPECT_EQ(SettingsText(s.Language0), u"English");
  EXPECT_EQ(SettingsText(s.Language1), u"");
  EXPECT_EQ(SettingsText(s.PanelFileName), u"compact_white.pan");
  EXPECT_TRUE(s.ThemeFilter);
  EXPECT_TRUE(s.AddSpace);
  EXPECT_FALSE(s.TruncWords);
  EXPECT_FALSE(s.SingleList);
  EXPECT_FALSE(s.ShowHint);
  EXPECT_TRUE(s.AdaptiveVoc);
  EXPECT_EQ(s.FreqMax, 20);
  EXPECT_EQ(s.FreqInc, 4);
  EXPECT_EQ(SettingsText(s.Buttons),
            u"Pg Up\u0002VK_PRIOR\u0001Pg Dn\u0002VK_NEXT\u0001"
            u"Ctrl+Home\u0002VK_CONTROLd+VK_HOME+VK_CONTROLu\u0001"
            u"Ctrl+End\u0002VK_CONTROLd+VK_END+VK_CONTROLu\u0001");
  // Nothing of the earlier contents survives behind the terminators.
  EXPECT_EQ(s.Locale[kSettingsTextUnits - 1], u'\0');
  EXPECT_EQ(s.Language1[100], u'\0');
}

TEST_F(SettingsTest, TextFieldsKeepTheirTerminator) {
  Settings& s = GetSettings();
  SetSettingsText(s.Language1, WideString(300, u'x'));
  EXPECT_EQ(SettingsText(s.Language1), WideString(255, u'x'));
  EXPECT_EQ(s.Language1[255], u'\0');
  SetSettingsText(s.Language1, u"ab");
  EXPECT_EQ(s.Language1[2], u'\0');
  EXPECT_EQ(s.Language1[3], u'\0');  // the rest is cleared, not left behind
  SetSettingsText(s.Buttons, WideString(9000, u'b'));
  EXPECT_EQ(SettingsText(s.Buttons).size(), 8191u);

  SetActiveLayout(std::string(300, 'q'));
  EXPECT_EQ(SettingsText(s.ActiveLayout), WideString(255, u'q'));
  SetActiveLayout("words");
  EXPECT_EQ(SettingsText(s.ActiveLayout), u"words");
}

TEST_F(SettingsTest, InstallFolderAndPanelPath) {
  testing::MessageRecorder messages;
  SetSettingsText(GetSettings().Path, u"\\Program files\\Tessaline");
  EXPECT_EQ(InstallFolder().narrow, "\\Program files\\Tessaline");
  EXPECT_EQ(InstallFolder().wide, u"\\Program files\\Tessaline");
  EXPECT_EQ(PanelFilePath().wide, u"\\Program files\\Tessaline\\Layouts\\compact_white.pan");
  EXPECT_EQ(PanelFilePath().narrow, "\\Program files\\Tessaline\\Layouts\\compact_white.pan");
  EXPECT_TRUE(messages.Calls().empty());

  SetSettingsText(GetSettings().Path, u"");
  EXPECT_EQ(InstallFolder().wide, u"");
  EXPECT_EQ(PanelFilePath().narrow, "\\Layouts\\compact_white.pan");
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Can't find registry PATH key",
                                                        "Can't find registry PATH key"}));
  EXPECT_TRUE(messages.Calls()[0].hasCaption);
  EXPECT_TRUE(messages.Calls()[0].caption.empty());
}

TEST_F(SettingsTest, CandidateStep) {
  EXPECT_EQ(CandidateStep(), 3);
  GetSettings().SingleList = true;
  EXPECT_EQ(CandidateStep(), 1);
}

TEST_F(SettingsTest, PanelFileWithoutTopLevelRecordsFallsBack) {
  testing::TempDir dir;
  testing::DeviceRootScope root(dir.Path());
  SetSettingsText(GetSettings().Path, u"\\T");
  dir.Write("T/Layouts/good.pan", "[layout=main]\n[end]\ndefault_sx=240\n");
  dir.Write("T/Layouts/sections.pan", "[layout=main]\nbutton=1,2,3,4\n[end]\n");
  dir.Write("T/Layouts/empty.pan", "");
  const struct {
    const char16_t* name;
    const char16_t* after;
  } cases[] = {{u"good.pan", u"good.pan"},
               {u"sections.pan", u"compact.pan"},
               {u"empty.pan", u"compact.pan"},
               {u"absent.pan", u"compact.pan"}};
  for (const auto& c : cases) {
    SetSettingsText(GetSettings().PanelFileName, c.name);
    ApplyPanelFileFallback();
    EXPECT_EQ(SettingsText(GetSettings().PanelFileName), c.after) << WideToUtf8(c.name);
  }
}

}  // namespace
}  // namespace tessaline
