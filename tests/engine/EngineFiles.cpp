#include "EngineFiles.h"

namespace tessaline::testing {

const char* const kTestLanguage =
    "locale=\"Test\"\n"
    "charset=0,0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68\n"
    "charset=1,0x69,0x6A,0x6B,0x6C,0x6D,0x6E,0x6F,0x70\n"
    "charset=2,0x71,0x72,0x73,0x74,0x75,0x76,0x77,0x78\n"
    "charset=3,0x79,0x7A\n"
    "chararray=2,0,1,2\nchararray=3,3,4,5\nchararray=4,6,7,100\nchararray=5,101,102,103\n"
    "chararray=6,104,105,106\nchararray=7,107,200,201,202\nchararray=8,203,204,205\n"
    "chararray=9,206,207,300,301\n"
    "text1=\"First text\"\n";

std::string Codes(const std::string& ascii) {
  std::string codes;
  for (char c : ascii) {
    const int index = c - 'a';
    codes += static_cast<char>((index / 8 + 1) * 16 + index % 8);
  }
  return codes;
}

std::string VocFile(const std::vector<VocWord>& words, const std::vector<PairBytes>& pairs) {
  std::string table;
  std::string pool;
  std::string previous;
  for (const VocWord& w : words) {
    size_t shared = 0;
    while (shared < previous.size() && shared < w.codes.size() &&
           previous[shared] == w.codes[shared]) {
      ++shared;
    }
    const uint32_t offset = static_cast<uint32_t>(pool.size());
    if (shared >= 2) {
      pool += static_cast<char>(shared * 2 + 1);
      pool += w.codes.substr(shared);
    } else {
      const auto first = static_cast<uint8_t>(w.codes[0]);
      pool += static_cast<char>((first & 0xF0) | ((first & 7) * 2));
      pool += w.codes.substr(1);
    }
    PutU32(table, offset | static_cast<uint32_t>(w.frequency) << 20 |
                      static_cast<uint32_t>(w.codes.size()) << 27);
    previous = w.codes;
  }
  std::string file;
  PutU32(file, static_cast<uint32_t>(words.size()));
  file += table;
  PutU32(file, static_cast<uint32_t>(pool.size()));
  file += pool;
  PutU32(file, static_cast<uint32_t>(pairs.size()));
  for (const PairBytes& p : pairs) {
    PutU16(file, p.key);
    std::string letters(4, '\0');
    std::string weights(4, '\0');
    for (size_t i = 0; i < p.next.size() && i < 4; ++i) {
      letters[i] = static_cast<char>(p.next[i].first);
      weights[i] = static_cast<char>(p.next[i].second);
    }
    file += letters + weights;
    file += static_cast<char>(p.count);
    file += '\0';
  }
  return file;
}

void PutUsrWord(std::string& out, const std::u16string& word) {
  out += static_cast<char>(word.size());
  for (char16_t u : word) PutU16(out, u);
}

void PutUsrRecord(std::string& out, const std::u16string& word, int32_t entry, int16_t count,
                  uint16_t base) {
  PutUsrWord(out, word);
  PutU32(out, static_cast<uint32_t>(entry));
  PutU16(out, static_cast<uint16_t>(count));
  PutU16(out, base);
}

}  // namespace tessaline::testing
