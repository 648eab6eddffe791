#include "platform/DeviceRegistry.h"

#include <vector>

#include "win32/Handles.h"

namespace tessaline::device {

std::optional<std::wstring> ReadText(HKEY root, const wchar_t* path, const wchar_t* name) {
  win32::RegKey key;
  if (key.Open(root, path, KEY_QUERY_VALUE) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  // The value may grow between the two calls; ask again at its new size.
  std::vector<BYTE> bytes;
  LONG status = RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &size);
  if (status == ERROR_SUCCESS) status = ERROR_MORE_DATA;
  for (int attempt = 0; status == ERROR_MORE_DATA && attempt < 4; ++attempt) {
    bytes.resize(size + 2);
    size = static_cast<DWORD>(bytes.size());
    status = RegQueryValueExW(key.Get(), name, nullptr, &type, bytes.data(), &size);
  }
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  const auto* chars = reinterpret_cast<const wchar_t*>(bytes.data());
  const size_t units = size / sizeof(wchar_t);
  size_t length = 0;
  while (length < units && chars[length] != L'\0') ++length;
  return std::wstring(chars, length);
}

std::optional<DWORD> ReadNumber(HKEY root, const wchar_t* path, const wchar_t* name) {
  win32::RegKey key;
  if (key.Open(root, path, KEY_QUERY_VALUE) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD number = 0;
  DWORD size = sizeof(number);
  if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(number)) {
    return std::nullopt;
  }
  return number;
}

bool WriteText(HKEY root, const wchar_t* path, const wchar_t* name, const std::wstring& text) {
  win32::RegKey key;
  if (key.Create(root, path, KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  return RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteNumber(HKEY root, const wchar_t* path, const wchar_t* name, DWORD number) {
  win32::RegKey key;
  if (key.Create(root, path, KEY_SET_VALUE) != ERROR_SUCCESS) return false;
  return RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                        sizeof(number)) == ERROR_SUCCESS;
}

void DeleteValue(HKEY root, const wchar_t* path, const wchar_t* name) {
  win32::RegKey key;
  if (key.Open(root, path, KEY_SET_VALUE) == ERROR_SUCCESS) RegDeleteValueW(key.Get(), name);
}

}  // namespace tessaline::device
