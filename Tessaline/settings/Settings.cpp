#include "settings/Settings.h"

#include <cstring>

#include "system/Messages.h"
#include "textfile/TextFile.h"

namespace tessaline {

const char16_t kDefaultButtons[] =
    u"Pg Up\u0002VK_PRIOR\u0001"
    u"Pg Dn\u0002VK_NEXT\u0001"
    u"Ctrl+Home\u0002VK_CONTROLd+VK_HOME+VK_CONTROLu\u0001"
    u"Ctrl+End\u0002VK_CONTROLd+VK_END+VK_CONTROLu\u0001";

Settings& GetSettings() {
  static Settings settings = [] {
    Settings s;
    ResetSettings(s);
    return s;
  }();
  return settings;
}

void ResetSettings(Settings& s) {
  std::memset(&s, 0, sizeof s);
  SetSettingsText(s.Locale, u"English");
  SetSettingsText(s.ActiveLayout, u"main");
  SetSettingsText(s.Language0, u"English");
  SetSettingsText(s.PanelFileName, u"compact_white.pan");
  s.ThemeFilter = true;
  s.AddSpace = true;
  s.AdaptiveVoc = true;
  s.FreqMax = 20;
  s.FreqInc = 4;
  SetSettingsText(s.Buttons, kDefaultButtons);
}

void SetActiveLayout(const std::string& layoutName) {
  const std::string cut = layoutName.substr(0, kSettingsTextUnits - 1);
  SetSettingsText(GetSettings().ActiveLayout, AnsiToWide(cut));
}

InstallFolderText InstallFolder() {
  InstallFolderText folder;
  folder.wide = SettingsText(GetSettings().Path);
  if (folder.wide.empty()) {
    ShowMessage(u"Can't find registry PATH key", u"");  // a plain box with an empty caption
    return folder;
  }
  folder.narrow = WideToAnsi(folder.wide);
  if (folder.narrow.size() > kSettingsTextUnits - 1) folder.narrow.resize(kSettingsTextUnits - 1);
  return folder;
}

PanelFilePathText PanelFilePath() {
  const InstallFolderText folder = InstallFolder();
  PanelFilePathText path;
  path.wide = folder.wide + u"\\Layouts\\" + SettingsText(GetSettings().PanelFileName);
  path.narrow = WideToAnsi(path.wide);
  return path;
}

int CandidateStep() { return GetSettings().SingleList ? 1 : 3; }

void ApplyPanelFileFallback() {
  const TextSection panel = ReadTextFile(PanelFilePath().narrow);
  if (panel.RecordCount() == 0) SetSettingsText(GetSettings().PanelFileName, u"compact.pan");
}

}  // namespace tessaline
