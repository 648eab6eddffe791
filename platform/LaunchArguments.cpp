#include "platform/LaunchArguments.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace tessaline::device {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Where the program's own name ends: a quoted name runs to its closing quote, any other to the
// first white space.
size_t AfterProgramName(const std::wstring& line) {
  if (!line.empty() && line[0] == L'"') {
    const size_t close = line.find(L'"', 1);
    return close == std::wstring::npos ? line.size() : close + 1;
  }
  size_t end = 0;
  while (end < line.size() && !IsSpace(line[end])) ++end;
  return end;
}

}  // namespace

std::vector<std::wstring> SplitArguments(const std::wstring& text) {
  std::vector<std::wstring> arguments;
  std::wstring current;
  bool inArgument = false;
  bool quoted = false;
  for (const wchar_t c : text) {
    if (c == L'"') {
      quoted = !quoted;
      inArgument = true;  // even "" is an argument, an empty one
    } else if (IsSpace(c) && !quoted) {
      if (inArgument) arguments.push_back(current);
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) arguments.push_back(current);
  return arguments;
}

std::vector<std::wstring> ArgumentsAfterProgramName(const std::wstring& commandLine) {
  return SplitArguments(commandLine.substr(AfterProgramName(commandLine)));
}

uint32_t DecimalArgument(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  uint64_t value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + static_cast<unsigned>(text[i] - L'0');
    if (value > 0xFFFFFFFFull) value = 0xFFFFFFFFull;  // never overflowing
  }
  const auto number = static_cast<uint32_t>(value);
  return negative ? 0u - number : number;
}

#ifdef _WIN32
std::vector<std::wstring> ProgramArguments() {
  return ArgumentsAfterProgramName(GetCommandLineW());
}
#endif

}  // namespace tessaline::device
