#include "engine/ActiveLanguages.h"

#include <cassert>
#include <cstdio>
#include <memory>
#include <vector>

#include "languages/InterfaceTexts.h"
#include "settings/Settings.h"
#include "system/DataFiles.h"
#include "system/Messages.h"

namespace tessaline {
namespace {

std::vector<std::unique_ptr<Language>>& ActiveList() {
  static std::vector<std::unique_ptr<Language>> list;
  return list;
}

// Appends the language when its file opens; a missing language is skipped without a message.
void LoadLanguage(const std::string& folder, const WideString& name) {
  const std::string path = LanguageFilePath(folder, name);
  FILE* probe = OpenDataFile(path, "rb");
  if (!probe) return;
  std::fclose(probe);
  const Settings& settings = GetSettings();
  ActiveList().push_back(std::make_unique<Language>(path, name, true, settings.AdaptiveVoc,
                                                    settings.FreqMax, settings.FreqInc));
}

}  // namespace

void LoadActiveLanguages() {
  FreeActiveLanguages();
  const Settings& settings = GetSettings();
  WideString first = SettingsText(settings.Language0);
  if (first.empty()) first = u"English";
  const WideString second = SettingsText(settings.Language1);
  const std::string folder = InstallFolder().narrow;
  LoadLanguage(folder, first);
  if (!second.empty() && second != first) LoadLanguage(folder, second);
  if (ActiveList().empty()) {
    ShowMessage(u"Active languages not found ('" + first + u"', '" + second + u"')", u"",
                kMessageIconError);
  }
  LoadInterfaceTexts();
}

void FreeActiveLanguages() { ActiveList().clear(); }

size_t ActiveLanguageCount() { return ActiveList().size(); }

Language& ActiveLanguage(size_t index) {
  assert(index < ActiveList().size());
  return *ActiveList()[index];
}

}  // namespace tessaline
