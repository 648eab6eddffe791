// The active languages: the primary (Language0) and secondary (Language1) language of the
// settings, loaded as Language objects that the list owns.
#pragma once

#include <cstddef>

#include "engine/Language.h"

namespace tessaline {

// Makes the list anew: Language0 ("English" when empty) and Language1 (when set and different)
// from the installation folder; a language whose file does not open is skipped. When neither
// loads, shows "Active languages not found ('%s', '%s')". Then reloads the interface texts.
// A language of the last list is kept instead of read again only when reading would make the
// same object: same name and file, same AdaptiveVoc, FreqMax and FreqInc, loaded whole, not
// changed in memory since (ChangedSinceLoad), and its language file, vocabulary and user
// dictionary unchanged on disk (size, write time and file). Every other language of the last
// list is destroyed, so a pointer to one must not outlive this call.
void LoadActiveLanguages();
// How many languages LoadActiveLanguages has read from their files so far (the ones it kept are
// not counted).
size_t LanguagesRead();
// Destroys every language of the list and empties it.
void FreeActiveLanguages();
size_t ActiveLanguageCount();
// The language at index 0 (primary) or 1 (secondary); an index out of range is a programming
// error.
Language& ActiveLanguage(size_t index);

}  // namespace tessaline
