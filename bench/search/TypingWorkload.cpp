#include "TypingWorkload.h"

#include <fstream>
#include <sstream>

#include "engine/KeySearch.h"
#include "settings/Settings.h"

namespace tessaline::bench {

std::string DefaultChrPath() {
  return std::string(TESSALINE_SOURCE_DIR) + "/data/Languages/English.chr";
}
std::string DefaultTextPath() {
  return std::string(TESSALINE_SOURCE_DIR) + "/bench/search/text-gpl3.txt";
}

Workload LoadWorkload(const std::string& chrPath, const std::string& textPath, size_t maxWords) {
  Workload w;
  w.language = std::make_unique<Language>(chrPath, u"English", false, false, 20, 4);
  const Language& lang = *w.language;

  std::ifstream in(textPath, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const WideString text = Utf8ToWide(buffer.str());
  WideString word;
  auto flush = [&] {
    LetterCodes codes;
    TypedWord typed;
    if (!word.empty() && lang.Encode(AsciiLower(word), codes) &&
        KeysOfWord(lang.Keys(), codes, typed.keys)) {
      w.keyPresses += typed.keys.size();
      w.words.push_back(std::move(typed));
    }
    word.clear();
  };
  for (char16_t c : text) {
    const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c >= 0xC0;
    if (letter) {
      word += c;
    } else {
      flush();
    }
    if (maxWords && w.words.size() >= maxWords) break;
  }
  flush();

  for (uint32_t i = 0; i < lang.EntryCount(); ++i) {
    const LetterCodes codes = lang.DecodeEntry(i);
    std::vector<int8_t> keys;
    KeysOfWord(lang.Keys(), codes, keys);
    const auto lf = lang.EntryLengthAndFrequency(i);
    w.records.push_back({std::string(keys.begin(), keys.end()),
                         WideToUtf8(lang.DecodeToText(codes)), i,
                         static_cast<uint8_t>(lf.frequency), static_cast<uint8_t>(lf.length)});
  }
  return w;
}

}  // namespace tessaline::bench
