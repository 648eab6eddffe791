// The vocabulary check reads whatever a .voc holds, and the compiler reads whatever a word list
// holds: neither may read outside its input or fail on any bytes. The first byte picks which.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "languages/KeyMap.h"
#include "textfile/TextFile.h"
#include "vocbuild/VocCheck.h"
#include "vocbuild/VocCompiler.h"

namespace {

const tessaline::KeyMap& Map() {
  static const tessaline::KeyMap map = [] {
    tessaline::KeyMap m;
    // Letters a-h on keys 2 and 3, ä ö in charset 7 (codes from 0x80), punctuation on key 1.
    tessaline::TextSection root;
    auto add = [&](const char* key, std::initializer_list<int> values) {
      tessaline::TextRecord record;
      record.key = key;
      for (int v : values) {
        tessaline::TextValue value;
        value.integer = v;
        record.values.push_back(value);
      }
      root.records.push_back(record);
    };
    add("charset", {0, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    add("charset", {7, 0xE4, 0xF6});
    add("charset", {14, '.', '\''});
    add("chararray", {1, 1400, 1401});
    add("chararray", {2, 0, 1, 2, 3, 700});
    add("chararray", {3, 4, 5, 6, 7, 701});
    m.LoadKeyMap(root);
    return m;
  }();
  return map;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 1) {
    const tessaline::vocbuild::WordList list = tessaline::vocbuild::ReadWordList(rest);
    tessaline::vocbuild::BuildReport report;
    const auto vocabulary = tessaline::vocbuild::CompileVocabulary(Map(), list, {}, report);
    const auto result = tessaline::vocbuild::CheckVocabularyBytes(tessaline::vocbuild::VocabularyFileBytes(vocabulary), Map());
    if (!result.Passed()) __builtin_trap();  // what the compiler writes always passes
  } else {
    tessaline::vocbuild::CheckVocabularyBytes(rest, Map());
  }
  return 0;
}
