#include "runtime/TextCase.h"

#include <windows.h>

namespace tessaline {

WideString UpperCase(WideView text) {
  WideString upper(text);
  if (!upper.empty()) {
    CharUpperBuffW(reinterpret_cast<wchar_t*>(upper.data()), static_cast<DWORD>(upper.size()));
  }
  return upper;
}

char16_t UpperCase(char16_t ch) { return UpperCase(WideView(&ch, 1))[0]; }

WideString ApplyCaseState(WideView text, int caseState) {
  if (caseState == 1) return UpperCase(text);
  WideString result(text);
  if (caseState == 2 && !result.empty()) result[0] = UpperCase(result[0]);
  return result;
}

}  // namespace tessaline
