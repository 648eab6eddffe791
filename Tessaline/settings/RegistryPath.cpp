#include "settings/RegistryPath.h"

#include <vector>

#include "win32/Handles.h"

namespace tessaline {
namespace {

const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

struct SplitPath {
  WideString key;
  WideString value;
};

SplitPath Split(WideView path) {
  const size_t slash = path.rfind(u'\\');
  if (slash == WideView::npos) return {WideString(), WideString(path)};
  return {WideString(path.substr(0, slash)), WideString(path.substr(slash + 1))};
}

}  // namespace

bool ReadRegistryText(HKEY root, WideView path, WideString& text) {
  text.clear();
  const SplitPath split = Split(path);
  win32::RegKey key;
  if (key.Open(root, Wide(split.key.c_str()), KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
  // The usual launch entry fits the first buffer; a longer value is read again at its own size.
  std::vector<BYTE> buffer(512);
  DWORD type = 0;
  LONG status = ERROR_MORE_DATA;
  DWORD size = 0;
  for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
    size = static_cast<DWORD>(buffer.size());
    status = RegQueryValueExW(key.Get(), Wide(split.value.c_str()), nullptr, &type, buffer.data(),
                              &size);
    if (status == ERROR_MORE_DATA) buffer.resize(size + 2);
  }
  if (status != ERROR_SUCCESS) return false;
  if (type == REG_SZ) {
    const size_t units = (size < buffer.size() ? size : buffer.size()) / 2;
    const auto* chars = reinterpret_cast<const char16_t*>(buffer.data());
    size_t length = 0;
    while (length < units && chars[length] != u'\0') ++length;
    text.assign(chars, length);
  }
  return true;
}

bool WriteRegistryText(HKEY root, WideView path, WideView text) {
  const SplitPath split = Split(path);
  win32::RegKey key;
  if (key.Open(root, Wide(split.key.c_str()), KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  const WideString value(text);
  return RegSetValueExW(key.Get(), Wide(split.value.c_str()), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * 2)) == ERROR_SUCCESS;
}

bool DeleteRegistryValue(HKEY root, WideView path) {
  const SplitPath split = Split(path);
  win32::RegKey key;
  if (key.Open(root, Wide(split.key.c_str()), KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  return RegDeleteValueW(key.Get(), Wide(split.value.c_str())) == ERROR_SUCCESS;
}

bool RegistryValueExists(HKEY root, WideView path) {
  const SplitPath split = Split(path);
  win32::RegKey key;
  if (key.Open(root, Wide(split.key.c_str()), KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
  return RegQueryValueExW(key.Get(), Wide(split.value.c_str()), nullptr, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS;
}

}  // namespace tessaline
