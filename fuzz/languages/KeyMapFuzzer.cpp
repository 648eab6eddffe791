// Arbitrary bytes as a language file: building the key map and asking every key about its
// letters must neither crash nor read outside the values and letters there are.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "languages/KeyMap.h"
#include "textfile/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!stream) return 0;
  tessaline::TextSection root;
  tessaline::ReadSection(stream, root);
  std::fclose(stream);

  tessaline::KeyMap map;
  map.LoadKeyMap(root);
  for (const tessaline::KeyEntry& key : map.Keys()) {
    if (key.count > tessaline::kMaxLettersPerSet) std::abort();
    for (int i = 0; i < key.count; ++i) {
      if (key.codes[i] == 0) std::abort();  // a key never holds the terminator
    }
    const tessaline::WideString letters = map.KeyLetters(key.key);
    for (char16_t ch : letters) {
      map.LetterIndexOnKey(key.key, ch);
      map.NextLetterOnKey(key.key, ch);
    }
    map.KeyHasPunctuation(key.key);
    const tessaline::WideString caption = map.KeyCaption(key.key);
    if (caption.size() > letters.size() + 1) std::abort();
    // Every letter of a key encodes, and its codes decode to letters again.
    tessaline::LetterCodes codes;
    if (map.Encode(letters, codes) && map.Decode(codes).size() != letters.size()) std::abort();
  }
  for (const tessaline::Charset& set : map.Charsets()) {
    if (set.count > tessaline::kMaxLettersPerSet) std::abort();
  }
  map.Decode(std::string_view(reinterpret_cast<const char*>(data), size < 64 ? size : 64));
  return 0;
}
