// What a writer changes in a user dictionary, kept as edits rather than as a whole copy.
//
// More than one writer can hold a language's user dictionary at once: the input method in the
// panel's process, the Dictionary and Frequency pages of whichever process opened the options,
// a second program hosting the input method, the command-line tool. None of them writes back a
// copy it read earlier; each applies its edits, in the order it made them, to what the file
// holds at the moment of writing (see UserDictionaryFile.h). The edits are made so that this
// merge keeps everybody's work:
//  - AddWord appends a word the list lacks, so a word spelled after a page removed it is back;
//  - RemoveWord takes out the words a page showed and the user removed; words added elsewhere
//    after the page read the file are not named, so they stay;
//  - Learn counts one commit on top of whatever count the file holds (a record cleared
//    elsewhere starts again at 1);
//  - RemoveRecord forgets the records a page showed and the user cleared;
//  - Decay runs the daily decay only if the file's decay day is not today, so across every
//    writer it runs at most once a day;
//  - OrderWords puts the words a page lists in its order, the others after them as they were;
//  - TidyWords drops empty and repeated words and the ones the vocabulary holds by now.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "engine/UserDictionary.h"
#include "system/WideText.h"

namespace tessaline {

struct UserDictionaryEdit {
  enum class Kind : uint8_t {
    kAddWord,
    kRemoveWord,
    kLearn,
    kRemoveRecord,
    kDecay,
    kOrderWords,
    kTidyWords
  };
  Kind kind = Kind::kAddWord;
  WideString word;            // AddWord, RemoveWord, Learn, RemoveRecord
  int32_t entry = -1;         // Learn: the vocabulary entry, when known
  uint16_t base = 0;          // Learn: the frequency before learning, for a new record
  int32_t increment = 0;      // Learn: what a commit adds to an existing count
  int32_t freqMax = 1;        // Learn, Decay: the count's ceiling
  uint32_t day = 0;           // Decay: today
  std::vector<WideString> words;  // OrderWords: the page's order; TidyWords: known words
};

class UserDictionaryEdits {
 public:
  void AddWord(const WideString& word);
  void RemoveWord(const WideString& word);
  void Learn(const WideString& word, int32_t entry, uint16_t base, int32_t increment,
             int32_t freqMax);
  void RemoveRecord(const WideString& word);
  void Decay(uint32_t day, int32_t freqMax);
  void OrderWords(std::vector<WideString> order);
  void TidyWords(std::vector<WideString> knownWords);

  // Appends another writer's edits after these.
  void Append(const UserDictionaryEdits& later);

  // Applies every edit in order to `dictionary` (what a file holds).
  void ApplyTo(UserDictionary& dictionary) const;

  bool empty() const { return edits_.empty(); }
  size_t size() const { return edits_.size(); }
  void clear() { edits_.clear(); }
  const std::vector<UserDictionaryEdit>& Items() const { return edits_; }

 private:
  UserDictionaryEdit& Push(UserDictionaryEdit::Kind kind);
  std::vector<UserDictionaryEdit> edits_;
};

// The count after one more commit: count + increment, at most freqMax (a count above it from a
// larger FreqMax comes down to it) and within the record's 16 bits.
int16_t CountAfterCommit(int16_t count, int32_t increment, int32_t freqMax);
// The daily decay of one record's count: brought to at most freqMax, then one less, not below 0.
// A count of 1 or less means the record goes (nullopt-like: returns -1).
int32_t CountAfterDecay(int16_t count, int32_t freqMax);

// What a page's edit of the word list amounts to: the words it showed that are gone from its
// list are removed, the listed words it did not show are added, and the list's order is kept.
UserDictionaryEdits WordListEdits(const std::vector<WideString>& shown,
                                  const std::vector<WideString>& listed);
// What a page's edit of the adaptation records amounts to: the records it showed that are gone.
UserDictionaryEdits RecordEdits(const AdaptationMap& shown, const AdaptationMap& kept);

}  // namespace tessaline
