#include "device/AppRecord.h"

#include <windows.h>

#include "win32/Handles.h"

namespace tessaline::emulator {
namespace {

std::wstring KeyOf(const std::wstring& application) {
  return std::wstring(kAppsKey) + L"\\" + application;
}

// The value's text whatever its length, and its type; nothing when it is missing.
std::optional<std::wstring> ReadValue(HKEY key, const wchar_t* name, DWORD& type) {
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  for (;;) {
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LONG status =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got);
    if (status == ERROR_MORE_DATA) {
      size = got;  // it grew in between
      continue;
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    text.resize(got / sizeof(wchar_t));
    return text;
  }
}

std::wstring ReadText(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  const auto value = ReadValue(key, name, type);
  if (!value || type != REG_SZ) return {};
  std::wstring text = *value;
  const size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

std::vector<std::wstring> ReadList(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  const auto value = ReadValue(key, name, type);
  if (!value || type != REG_MULTI_SZ) return {};
  return SplitMultiString(*value);
}

bool WriteText(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type) {
  return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace

std::vector<std::wstring> SplitMultiString(const std::wstring& value) {
  std::vector<std::wstring> strings;
  size_t start = 0;
  while (start < value.size()) {
    size_t end = value.find(L'\0', start);
    if (end == std::wstring::npos) end = value.size();
    if (end > start) strings.push_back(value.substr(start, end - start));
    start = end + 1;
  }
  return strings;
}

std::wstring JoinMultiString(const std::vector<std::wstring>& strings) {
  // Each string ends with its terminator; the writer adds the list's final one.
  std::wstring value;
  for (const std::wstring& text : strings) {
    if (text.empty()) continue;
    value += text;
    value.push_back(L'\0');
  }
  return value;
}

bool WriteAppRecord(const std::wstring& application, const AppRecord& record) {
  win32::RegKey key;
  if (key.Create(HKEY_LOCAL_MACHINE, KeyOf(application).c_str(), KEY_SET_VALUE) != ERROR_SUCCESS) {
    return false;
  }
  bool written =
      WriteText(key.Get(), L"InstallDir", record.installFolder, REG_SZ) &&
      WriteText(key.Get(), L"Files", JoinMultiString(record.files), REG_MULTI_SZ) &&
      WriteText(key.Get(), L"SelfRegister", JoinMultiString(record.selfRegistering), REG_MULTI_SZ);
  if (record.setupLibrary.empty()) {
    RegDeleteValueW(key.Get(), L"SetupDll");
  } else {
    written = written && WriteText(key.Get(), L"SetupDll", record.setupLibrary, REG_SZ);
  }
  return written;
}

std::optional<AppRecord> ReadAppRecord(const std::wstring& application) {
  win32::RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, KeyOf(application).c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  AppRecord record;
  record.installFolder = ReadText(key.Get(), L"InstallDir");
  if (record.installFolder.empty()) return std::nullopt;
  record.files = ReadList(key.Get(), L"Files");
  record.setupLibrary = ReadText(key.Get(), L"SetupDll");
  record.selfRegistering = ReadList(key.Get(), L"SelfRegister");
  return record;
}

void DeleteAppRecord(const std::wstring& application) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, KeyOf(application).c_str());
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, KeyOf(application).c_str());
}

}  // namespace tessaline::emulator
