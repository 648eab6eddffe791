// The command line of the launched programs from arbitrary text: two bytes make one character.
// The split never invents text: its arguments hold no quote, and together no more characters
// than the line had.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/LaunchArguments.h"
#include "system/ByteCoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring line;
  for (size_t i = 0; i + 1 < size; i += 2)
    line += static_cast<wchar_t>(tessaline::ReadLe16(data + i));
  size_t total = 0;
  for (const std::wstring& argument : tessaline::device::ArgumentsAfterProgramName(line)) {
    if (argument.find(L'"') != std::wstring::npos) std::abort();
    total += argument.size();
    tessaline::device::DecimalArgument(argument);
  }
  if (total > line.size()) std::abort();
  return 0;
}
