#include "languages/KeyMap.h"

#include "textfile/TextFile.h"

namespace tessaline {
namespace {

constexpr const char* kLanguageSchema = "charset;locale;chararray;chararraybase:2";
enum LanguageRecord { kCharset = 0, kLocale = 1, kCharArray = 2, kCharArrayBase = 3 };

}  // namespace

void KeyMap::Clear() {
  locale_.clear();
  charsets_.clear();
  keys_.clear();
}

void KeyMap::LoadKeyMap(const std::string& path) { LoadKeyMap(ReadTextFile(path)); }

void KeyMap::LoadKeyMap(const TextSection& root) {
  Clear();
  for (int i = 0; i < root.RecordCount(); ++i) {
    const TextRecord& record = root.records[static_cast<size_t>(i)];
    // A record standing alone, without a single value, is malformed and read as nothing.
    if (record.ValueCount() == 0) continue;
    switch (RecordKind(root, i, kLanguageSchema)) {
      case kCharset: ReadCharset(record); break;
      case kLocale: locale_ = record.values[0].text; break;
      case kCharArray: ReadKey(record); break;
      case kCharArrayBase: ReadBase(record); break;
      default: break;  // interface texts and anything else
    }
  }
}

void KeyMap::ReadCharset(const TextRecord& record) {
  Charset set;
  set.id = static_cast<uint8_t>(record.values[0].integer);
  for (int v = 1; v < record.ValueCount() && set.count < kMaxLettersPerSet; ++v) {
    set.letters[set.count++] = static_cast<char16_t>(record.values[static_cast<size_t>(v)].integer);
  }
  charsets_.push_back(set);
}

void KeyMap::ReadKey(const TextRecord& record) {
  KeyEntry entry;
  entry.key = static_cast<uint8_t>(record.values[0].integer);
  for (int v = 1; v < record.ValueCount() && entry.count < kMaxLettersPerSet; ++v) {
    const int32_t value = record.values[static_cast<size_t>(v)].integer;
    // A letter is named as charset id * 100 + position. A negative value, or a charset id that
    // cannot form a letter code (15 and above), names no letter: such a value is not accepted
    // rather than turned into a code that wraps to another charset or to the terminator.
    if (value < 0) return;
    const int32_t id = value / 100;
    const int32_t position = value % 100;
    if (id > kMaxCharsetId) return;
    const Charset* set = nullptr;
    for (const Charset& c : charsets_) {
      if (c.id == id) {
        set = &c;
        break;
      }
    }
    if (!set || position >= set->count) return;  // one value not accepted drops the record
    entry.codes[entry.count++] = MakeCode(set->id, position);
  }
  entry.base = entry.count;
  keys_.push_back(entry);
}

void KeyMap::ReadBase(const TextRecord& record) {
  const int32_t key = record.values[0].integer;
  for (KeyEntry& entry : keys_) {
    if (entry.key != key) continue;
    const int32_t base = record.values[1].integer;
    if (base < 1) {
      entry.base = 1;
    } else {
      entry.base = static_cast<uint8_t>(base > entry.count ? entry.count : base);
    }
    return;
  }
}

bool KeyMap::Encode(WideView text, LetterCodes& codes) const {
  codes.clear();
  for (char16_t ch : text) {
    uint8_t code = 0;
    for (const Charset& set : charsets_) {
      if (set.id > kMaxCharsetId) continue;
      for (int p = 0; p < set.count && code == 0; ++p) {
        if (set.letters[p] == ch) code = MakeCode(set.id, p);
      }
      if (code != 0) break;
    }
    if (code == 0) {
      codes.clear();
      return false;
    }
    codes += static_cast<char>(code);
  }
  return true;
}

char16_t KeyMap::DecodeLetter(uint8_t code) const {
  const int id = code / 16 - 1;
  const int position = code % 16;
  for (const Charset& set : charsets_) {
    if (set.id == id) return position < set.count ? set.letters[position] : u'!';
  }
  return u'?';
}

WideString KeyMap::Decode(std::string_view codes) const {
  WideString text;
  text.reserve(codes.size());
  for (char c : codes) text += DecodeLetter(static_cast<uint8_t>(c));
  return text;
}

const KeyEntry* KeyMap::FindKey(int key) const {
  for (const KeyEntry& entry : keys_) {
    if (entry.key == key) return &entry;
  }
  return nullptr;
}

int KeyMap::KeyLetterCount(int key) const {
  const KeyEntry* entry = FindKey(key);
  return entry ? entry->count : 0;
}

WideString KeyMap::KeyLetters(int key) const {
  const KeyEntry* entry = FindKey(key);
  if (!entry) return {};
  return Decode(std::string_view(reinterpret_cast<const char*>(entry->codes), entry->count));
}

int KeyMap::LetterIndexOnKey(int key, char16_t ch) const {
  const WideString letters = KeyLetters(key);
  const size_t i = letters.find(ch);
  return i == WideString::npos ? -1 : static_cast<int>(i);
}

char16_t KeyMap::NextLetterOnKey(int key, char16_t ch) const {
  const WideString letters = KeyLetters(key);
  if (letters.empty()) return 0;
  const size_t i = letters.find(ch);
  if (i != WideString::npos && i + 1 < letters.size()) return letters[i + 1];
  return letters[0];
}

bool KeyMap::KeyHasPunctuation(int key) const {
  for (char16_t ch : KeyLetters(key)) {
    if (ch >= 0x20 && ch <= 0x40) return true;
  }
  return false;
}

WideString KeyMap::KeyCaption(int key) const {
  const KeyEntry* entry = FindKey(key);
  WideString letters = KeyLetters(key);
  if (entry && entry->base < entry->count) letters.insert(entry->base, 1, u'\x0001');
  return letters;
}

}  // namespace tessaline
