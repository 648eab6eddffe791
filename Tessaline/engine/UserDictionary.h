// The user dictionary of a language: the user's own words and the adaptation records of the
// vocabulary words the user commits, kept in the .usr file beside the language file.
//
// The .usr file (little-endian, UTF-16LE text without terminators, no header):
//   N (4); N user words, each L (1 byte, code units) and L code units;
//   M (4); M adaptation records, each L (1), L code units, entry (4, signed), count (2, signed),
//   base (2); the decay day (4).
//
// A word needs its length in one byte, so a word longer than 255 code units cannot be kept in
// the file: such words are never written (see SaveUserDictionary), and Language::AddUserWord
// refuses them, so the file always reads back exactly as written.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/UserFileSystem.h"
#include "system/WideText.h"

namespace tessaline {

constexpr size_t kMaxUserWordUnits = 255;

struct AdaptationRecord {
  int32_t entry = -1;  // vocabulary entry when last found; negative when unknown
  int16_t count = 0;   // usage count, 0 to FreqMax
  uint16_t base = 0;   // the word's vocabulary frequency when first learned
};

// Ordered by UTF-16 code units; a word sorts before every longer word it begins.
using AdaptationMap = std::map<WideString, AdaptationRecord>;

// What reading a .usr found.
struct UserDictionaryLoadReport {
  bool opened = false;
  uint32_t declaredWords = 0;
  uint32_t declaredRecords = 0;
  size_t words = 0;             // user words kept
  size_t records = 0;           // adaptation records kept
  size_t duplicateRecords = 0;  // records dropped because their word came earlier
  bool truncated = false;       // the file ended before its counts said
  bool trailingBytes = false;   // bytes after the decay day
};

class UserDictionary {
 public:
  // Empties the words, the records and the decay day (0), then reads the file (a device path)
  // if it opens; the result says whether it opened. A record whose word is already in the map is
  // dropped. A file cut short keeps every word and record that is complete before the cut, and
  // the decay day only when it is there; a count beyond the file's end is never used to size
  // anything.
  bool LoadUserDictionary(const std::string& path);
  // The same from the file's bytes (the file opened).
  UserDictionaryLoadReport LoadBytes(std::string_view bytes);
  // The report of the last load.
  const UserDictionaryLoadReport& LastLoad() const { return lastLoad_; }

  // Writes everything to the file (a device path), whatever it holds: only for a file nobody
  // else writes (a new one, a test's). The writers of the user's own files merge their edits
  // through UserDictionaryFile instead. The new content goes to a temporary file of this writer's
  // own beside it, which replaces the old file only once it is complete and flushed; a save that
  // fails at any point leaves the old file as it was. Words longer than 255 code units are left
  // out. The result says whether the file was replaced (no message otherwise).
  bool SaveUserDictionary(const std::string& path) const;
  // The file's bytes as SaveUserDictionary writes them.
  std::string FileBytes() const;

  void ClearWords() { words_.clear(); }
  void AppendWord(const WideString& word) { words_.push_back(word); }
  size_t WordCount() const { return words_.size(); }
  const WideString& WordAt(size_t index) const { return words_[index]; }
  const std::vector<WideString>& Words() const { return words_; }

  AdaptationMap& Adaptations() { return adaptations_; }
  const AdaptationMap& Adaptations() const { return adaptations_; }

  uint32_t DecayDay() const { return decayDay_; }
  void SetDecayDay(uint32_t day) { decayDay_ = day; }

 private:
  std::vector<WideString> words_;
  AdaptationMap adaptations_;
  uint32_t decayDay_ = 0;
  UserDictionaryLoadReport lastLoad_;
};

}  // namespace tessaline
