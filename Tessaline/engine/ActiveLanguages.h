// The active languages: the primary (Language0) and secondary (Language1) language of the
// settings, loaded as Language objects that the list owns.
#pragma once

#include <cstddef>

#include "engine/Language.h"

namespace tessaline {

// Empties the list, then loads Language0 ("English" when empty) and Language1 (when set and
// different) from the installation folder; a language whose file does not open is skipped. When
// neither loads, shows "Active languages not found ('%s', '%s')". Then reloads the interface
// texts.
void LoadActiveLanguages();
// Destroys every language of the list and empties it.
void FreeActiveLanguages();
size_t ActiveLanguageCount();
// The language at index 0 (primary) or 1 (secondary); an index out of range is a programming
// error.
Language& ActiveLanguage(size_t index);

}  // namespace tessaline
