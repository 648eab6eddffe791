#include "runtime/SettingsArguments.h"

#include "languages/InterfaceTexts.h"
#include "panel/PanelFile.h"
#include "settings/Settings.h"

namespace tessaline {

ActiveLanguageChoice ChosenLanguages() {
  const Settings& settings = GetSettings();
  ActiveLanguageChoice choice;
  choice.primary = SettingsText(settings.Language0);
  choice.secondary = SettingsText(settings.Language1);
  choice.installFolder = InstallFolder().narrow;
  choice.adaptiveVoc = settings.AdaptiveVoc;
  choice.freqMax = settings.FreqMax;
  choice.freqInc = settings.FreqInc;
  return choice;
}

void LoadChosenLanguages(bool readFirst) {
  ActiveLanguageChoice choice = ChosenLanguages();
  choice.readFirst = readFirst;
  LoadActiveLanguages(choice);
  LoadInterfaceTexts();
}

int ChosenPanelHeight(int width) {
  return PanelHeight(PanelFilePath().narrow, WideToAnsi(SettingsText(GetSettings().ActiveLayout)),
                     width);
}

}  // namespace tessaline
