// The active languages: the primary and the secondary language chosen in the settings (Language0
// and Language1), loaded as Language objects that the list owns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Language.h"
#include "system/WideText.h"

namespace tessaline {

// What the list is made from, as the settings give it.
struct ActiveLanguageChoice {
  std::string installFolder;  // narrow device path; empty: paths rooted at the top of the device
  WideString primary;         // "English" when empty
  WideString secondary;       // none when empty or the same as the primary
  bool adaptiveVoc = true;
  int32_t freqMax = 20;
  int32_t freqInc = 4;
  // The first language is read when the list is made; without, it too is read when first asked
  // for (a window that shows the panel first and reads the language after).
  bool readFirst = true;
};

// Makes the list anew: the primary and the secondary language (when set and different) from the
// installation folder; a language whose file does not open is skipped. When neither loads,
// shows "Active languages not found ('%s', '%s')". The first language of the list is read now
// (unless the choice says otherwise); the second is read when ActiveLanguage first asks for it
// (the vocabulary's messages come then).
// A language of the last list is kept instead of read again only when reading would make the
// same object: same name and file, same AdaptiveVoc, FreqMax and FreqInc, loaded whole, not
// changed in memory since (ChangedSinceLoad), and its language file, vocabulary and user
// dictionary unchanged on disk (size, write time and file). Every other language of the last
// list is destroyed, so a pointer to one must not outlive this call.
void LoadActiveLanguages(const ActiveLanguageChoice& choice);
// How many languages LoadActiveLanguages has read from their files so far (the ones it kept are
// not counted).
size_t LanguagesRead();
// Destroys every language of the list and empties it.
void FreeActiveLanguages();
size_t ActiveLanguageCount();
// The language at index 0 (primary) or 1 (secondary), read from its files now if it was not
// yet; an index out of range is a programming error.
Language& ActiveLanguage(size_t index);
// Whether the language at that index has been read (false out of range).
bool ActiveLanguageRead(size_t index);
// The language file of the language at that index, read or not (empty out of range).
std::string ActiveLanguagePath(size_t index);

}  // namespace tessaline
