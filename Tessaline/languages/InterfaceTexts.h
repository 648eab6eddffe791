// The numbered interface texts ("text%i" records, UTF-8) of the language file named by the
// Locale setting, and the list of installed languages.
#pragma once

#include <string>
#include <vector>

#include "system/WideText.h"

namespace tessaline {

// Reads the language file named by Locale ("English" when empty) and holds it; a file that does
// not open leaves none held.
void LoadInterfaceTexts();

// The same from a language file given by its path (the tools); a file that does not open leaves
// none held.
void LoadInterfaceTextsFrom(const std::string& path);

// Holds no file any more: every text becomes "Text #n".
void FreeInterfaceTexts();

// Interface text n, or "Text #n" when no file is held, it has no such record, or the text is
// empty. Never empty.
WideString InterfaceText(int n);

// Names of the language files in the installation folder's Languages folder (the file name
// without ".chr"), in the order the file system gives them.
std::vector<WideString> ListInstalledLanguages();

// "%s\Languages\%s.chr" with the installation folder and a language name (narrow text).
std::string LanguageFilePath(const std::string& installFolder, WideView language);

}  // namespace tessaline
