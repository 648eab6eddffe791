// The key map of a language: which letters exist (charsets), the one-byte letter codes in which
// the engine stores words, and which letters lie on which key of the keypad.
//
// A letter code names a letter by charset and position: high four bits = charset id + 1, low four
// bits = position (0 to 7). The byte 0 never names a letter and ends a code string, so words are
// held as std::string of codes, compared byte by byte as unsigned values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "system/WideText.h"

namespace tessaline {

struct TextSection;
struct TextRecord;

constexpr int kMaxLettersPerSet = 8;
constexpr int kMaxCharsetId = 14;  // ids 15 and above cannot form a letter code

// One "charset" record: an id and up to eight letters.
struct Charset {
  uint8_t id = 0;
  uint8_t count = 0;
  char16_t letters[kMaxLettersPerSet] = {};
};

// One accepted "chararray" record: the letters of a key, in multi-tap order.
struct KeyEntry {
  uint8_t key = 0;
  uint8_t count = 0;
  uint8_t base = 0;  // number of main letters (chararraybase); equals count until changed
  uint8_t codes[kMaxLettersPerSet] = {};
};

using LetterCodes = std::string;  // letter codes, never holding 0

class KeyMap {
 public:
  // Empties the map and reads the language file (a device path). A file that does not open
  // leaves the map empty.
  void LoadKeyMap(const std::string& path);
  // The same from a file already read.
  void LoadKeyMap(const TextSection& root);

  // Letter codes of each character (first charset, then first position, that holds it). Fails,
  // leaving codes empty, when a character is in no charset.
  bool Encode(WideView text, LetterCodes& codes) const;
  // One character per code: the letter, '?' for a code of no charset, '!' for a position beyond
  // its charset's letters.
  WideString Decode(std::string_view codes) const;
  char16_t DecodeLetter(uint8_t code) const;

  // The first key entry with that identifier, or nullptr.
  const KeyEntry* FindKey(int key) const;
  int KeyLetterCount(int key) const;
  int LetterIndexOnKey(int key, char16_t ch) const;
  char16_t NextLetterOnKey(int key, char16_t ch) const;
  bool KeyHasPunctuation(int key) const;
  // The key's letters; U+0001 after the first `base` letters when base < count.
  WideString KeyCaption(int key) const;
  // The key's letters as text, all `count` of them.
  WideString KeyLetters(int key) const;

  const std::string& Locale() const { return locale_; }
  const std::vector<Charset>& Charsets() const { return charsets_; }
  const std::vector<KeyEntry>& Keys() const { return keys_; }

  static uint8_t MakeCode(uint8_t charsetId, int position) {
    return static_cast<uint8_t>((charsetId + 1) * 16 + position);
  }

 private:
  void Clear();
  void ReadCharset(const TextRecord& record);
  void ReadKey(const TextRecord& record);
  void ReadBase(const TextRecord& record);

  std::string locale_;
  std::vector<Charset> charsets_;
  std::vector<KeyEntry> keys_;
};

}  // namespace tessaline
