// Arbitrary UTF-16 as the Buttons setting: every unit belongs to exactly one row, and the rows
// written back read as the same rows.
#include <cstdint>
#include <cstdlib>

#include "options/UserButtons.h"
#include "system/ByteCoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tessaline::WideString text;
  for (size_t i = 0; i + 1 < size; i += 2) text += tessaline::ReadLe16(data + i);
  const auto rows = tessaline::ParseUserButtons(text);
  if (rows.size() > text.size()) std::abort();
  const tessaline::WideString back = tessaline::UserButtonsText(rows, SIZE_MAX);
  if (tessaline::ParseUserButtons(back) != rows) std::abort();
  return 0;
}
