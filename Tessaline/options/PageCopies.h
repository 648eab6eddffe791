// The Dictionary and Frequency pages each keep a copy of one language's user dictionary and
// write their whole copy on Save. Each edits only its own part (the words, or the adaptation
// records), so when one of them saves, the other takes over the part it does not edit from what
// was saved, if it shows the same language: a later save of the other page then keeps what the
// first one saved instead of writing back an older copy of it.
#pragma once

#include <string>

#include "engine/UserDictionary.h"
#include "system/WideText.h"

namespace tessaline {

class UserDictionaryPeer {
 public:
  virtual ~UserDictionaryPeer() = default;
  // The other page wrote `saved` as the user dictionary of `language`.
  virtual void OnPeerSaved(const WideString& language, const UserDictionary& saved) = 0;
};

// "<installation folder>\Languages\<language>.usr".
std::string UserDictionaryPathOf(WideView language);

// After a page wrote a user dictionary: the input method holds its own copy of the file and
// rewrites it at its next change, so it must read the file again before then. Raising the change
// counter in memory makes the input method reload its languages the next time the panel is
// shown, whether the sheet closes with OK or not.
void NoteUserDictionaryWritten();

}  // namespace tessaline
