// Arbitrary bytes as a language or panel file: the reader must neither crash nor overrun.
#include <cstdint>
#include <cstdio>

#include "textfile/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!stream) return 0;
  tessaline::TextSection root;
  tessaline::ReadSection(stream, root);
  std::fclose(stream);
  // Touch every schema lookup so that the kind readers see the odd records too.
  for (int i = 0; i < root.RecordCount(); ++i) {
    tessaline::RecordKind(root, i, "charset;locale;chararray;chararraybase:2");
    tessaline::RecordKind(root, i, "button:4;default_sx:1;default_sy:1;button:5;");
  }
  for (int i = 0; i < root.ChildCount(); ++i) {
    tessaline::SectionKind(root, i, "button_layout;layout;icon");
  }
  return 0;
}
