#include <windows.h>

#include "system/WideText.h"

namespace tessaline {

WideString AnsiToWide(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                    nullptr, 0);
  WideString out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                      reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::string WideToAnsi(WideView wide) {
  if (wide.empty()) return {};
  const auto* src = reinterpret_cast<const wchar_t*>(wide.data());
  const int n = WideCharToMultiByte(CP_ACP, 0, src, static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, src, static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace tessaline
