#include "SearchFixture.h"

#include <algorithm>

namespace tessaline::testing {

const char* const kPhoneKeypad =
    "charset=0,0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68\n"   // a-h
    "charset=1,0x69,0x6A,0x6B,0x6C,0x6D,0x6E,0x6F,0x70\n"   // i-p
    "charset=2,0x71,0x72,0x73,0x74,0x75,0x76,0x77,0x78\n"   // q-x
    "charset=3,0x79,0x7A,0x2E,0x27\n"                       // y z . '
    "chararray=1,302,303\n"
    "chararray=2,0,1,2\nchararray=3,3,4,5\nchararray=4,6,7,100\nchararray=5,101,102,103\n"
    "chararray=6,104,105,106\nchararray=7,107,200,201,202\nchararray=8,203,204,205\n"
    "chararray=9,206,207,300,301\n";

namespace {

void Append32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

TestLanguage::TestLanguage(const std::string& chr,
                           const std::vector<std::pair<std::string, int>>& words,
                           const std::vector<PairSpec>& pairs) {
  const std::string chrPath = dir_.Write("Test.chr", chr);
  KeyMap keys;
  keys.LoadKeyMap(chrPath);
  // Start from an empty vocabulary file and insert the words: the vocabulary keeps them sorted
  // and front-coded.
  Vocabulary vocabulary(keys);
  vocabulary.LoadVocabularyBytes(std::string(12, '\0'));
  vocabulary.BeginBulkInsert();  // the aids once at the end, not after every word
  for (const auto& [word, frequency] : words) {
    LetterCodes codes;
    if (!keys.Encode(Utf8ToWide(word), codes)) throw std::runtime_error("cannot encode " + word);
    vocabulary.InsertIfAbsent(codes, frequency);
  }
  vocabulary.EndBulkInsert();
  std::string bytes = vocabulary.FileBytes();
  bytes.resize(bytes.size() - 4);  // the pair count, written again below
  Append32(bytes, static_cast<uint32_t>(pairs.size()));
  for (const PairSpec& pair : pairs) {
    std::string record(12, '\0');
    record[0] = static_cast<char>(pair.key & 0xFF);
    record[1] = static_cast<char>(pair.key >> 8);
    for (size_t i = 0; i < pair.alternatives.size() && i < 4; ++i) {
      record[2 + i] = static_cast<char>(pair.alternatives[i].first);
      record[6 + i] = static_cast<char>(pair.alternatives[i].second);
    }
    record[10] = static_cast<char>(std::min<size_t>(pair.alternatives.size(), 4));
    bytes += record;
  }
  dir_.Write("Test.voc", bytes);
  language_ = std::make_unique<Language>(chrPath, u"Test", false, false, 20, 4);
}

LetterCodes TestLanguage::Codes(const std::string& utf8) const {
  LetterCodes codes;
  language_->Encode(Utf8ToWide(utf8), codes);
  return codes;
}

}  // namespace tessaline::testing
