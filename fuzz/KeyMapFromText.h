// A key map from the text of a language file, for the fuzz targets that search with one.
#pragma once

#include <cstdio>
#include <string>

#include "languages/KeyMap.h"
#include "textfile/TextFile.h"

namespace tessaline::fuzzing {

inline KeyMap KeyMapFromText(std::string text) {
  FILE* stream = fmemopen(text.data(), text.size(), "rb");
  TextSection root;
  ReadSection(stream, root);
  std::fclose(stream);
  KeyMap keys;
  keys.LoadKeyMap(root);
  return keys;
}

}  // namespace tessaline::fuzzing
