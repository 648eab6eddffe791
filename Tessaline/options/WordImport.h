// Import of an exchange file into a word list, as the Dictionary page and the tool do it: the
// words already listed are offered first, then the file's lines, each to the add-user-word
// operation of a language loaded without its user dictionary, which takes a word only once,
// only when the language's letters can spell it, and only when the vocabulary lacks it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <vector>

#include "system/WideText.h"

namespace tessaline {

class Language;

// Reading stops before a line once the list holds this many words (those listed before count).
constexpr size_t kMaxImportedWords = 512;

enum class ImportOutcome {
  kAccepted,
  kAlreadyListed,  // the same word came earlier (listed, or an earlier line)
  kKnownWord,      // the vocabulary holds it already
  kNotInLanguage,  // a character that no charset of the language holds
  kTooLong,        // longer than the user dictionary file can keep (255 units)
};

const char* ImportOutcomeName(ImportOutcome outcome);

struct ImportedWord {
  WideString word;
  size_t line = 0;  // line of the file, 1-based; 0 for a word that was listed before
  ImportOutcome outcome = ImportOutcome::kAccepted;
};
using ImportObserver = std::function<void(const ImportedWord&)>;

struct ImportResult {
  // False when the language has no key entry: nothing was read and the list stays as it was.
  bool imported = false;
  std::vector<WideString> words;  // the new list, in the order the words were accepted
  bool stoppedAtLimit = false;    // lines were left unread for the 512-word limit
};

// Sorts words the way the Dictionary page's sorted word list shows them: alphabetically, ignoring
// letter case and accents (system/LetterCase.h). The tool writes and offers words in this order.
void SortAsWordList(std::vector<WideString>& words);

// The whole import against an open exchange file. `temporary` must hold no user words; it gains
// the accepted ones. Every word offered is reported to observe (when given), in order. A UTF-8
// byte-order mark at the start of the file is passed over.
// The work is bounded by the file: each piece of at most 255 bytes is cleaned and offered once.
ImportResult ImportUserWords(Language& temporary, const std::vector<WideString>& listed, FILE* file,
                             const ImportObserver& observe = {});

}  // namespace tessaline
