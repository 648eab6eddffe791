#include "options/PageCopies.h"

#include "engine/Language.h"
#include "languages/InterfaceTexts.h"
#include "settings/Settings.h"

namespace tessaline {

std::string UserDictionaryPathOf(WideView language) {
  return SiblingFilePath(LanguageFilePath(InstallFolder().narrow, language), ".usr");
}

}  // namespace tessaline
