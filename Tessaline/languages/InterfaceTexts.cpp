#include "languages/InterfaceTexts.h"

#include <cstdio>
#include <memory>
#include <string>

#include "settings/Settings.h"
#include "system/DataFiles.h"
#include "system/FileSearch.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

std::unique_ptr<TextSection>& HeldTexts() {
  static std::unique_ptr<TextSection> held;
  return held;
}

}  // namespace

std::string LanguageFilePath(const std::string& installFolder, WideView language) {
  return installFolder + "\\Languages\\" + WideToAnsi(language) + ".chr";
}

void FreeInterfaceTexts() { HeldTexts().reset(); }

void LoadInterfaceTexts() {
  WideString locale = SettingsText(GetSettings().Locale);
  if (locale.empty()) locale = u"English";
  LoadInterfaceTextsFrom(LanguageFilePath(InstallFolder().narrow, locale));
}

void LoadInterfaceTextsFrom(const std::string& path) {
  HeldTexts().reset();
  FILE* probe = OpenDataFile(path, "rb");
  if (!probe) return;
  std::fclose(probe);
  HeldTexts() = std::make_unique<TextSection>(ReadTextFile(path));
}

WideString InterfaceText(int n) {
  const std::string key = "text" + std::to_string(n);
  if (const TextSection* texts = HeldTexts().get()) {
    for (const TextRecord& record : texts->records) {
      if (record.key != key) continue;
      if (record.ValueCount() > 0 && !record.values[0].text.empty()) {
        return Utf8ToWide(record.values[0].text);
      }
      break;
    }
  }
  const std::string fallback = "Text #" + std::to_string(n);
  return WideString(fallback.begin(), fallback.end());
}

std::vector<WideString> ListInstalledLanguages() {
  std::vector<WideString> names;
  const WideString pattern = InstallFolder().wide + u"\\Languages\\*.chr";
  for (const WideString& file : FindFiles(pattern)) {
    const size_t dot = file.rfind(u'.');
    if (dot == WideString::npos || AsciiLower(WideView(file).substr(dot)) != u".chr") continue;
    const size_t slash = file.rfind(u'\\');
    const WideString name = slash == WideString::npos ? file : file.substr(slash + 1);
    names.push_back(name.substr(0, name.size() - 4));
  }
  return names;
}

}  // namespace tessaline
