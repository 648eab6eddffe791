#include "screen/SystemKeyboardSetup.h"

#include <windows.h>

#include <vector>

#include "msim/SystemKeyboard.h"
#include "sip/InputMethodDirectory.h"
#include "system/win32/Handles.h"

namespace tessaline::emulator {
namespace {

std::wstring FolderOfProgram() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) break;
    path.resize(path.size() * 2);
  }
  std::wstring folder(path.data());
  const size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  WIN32_FILE_ATTRIBUTE_DATA first{}, second{};
  if (!GetFileAttributesExW(a.c_str(), GetFileExInfoStandard, &first) ||
      !GetFileAttributesExW(b.c_str(), GetFileExInfoStandard, &second)) {
    return false;
  }
  return first.nFileSizeLow == second.nFileSizeLow && first.nFileSizeHigh == second.nFileSizeHigh &&
         CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime) == 0;
}

bool IsRegistered() {
  const std::wstring path =
      L"CLSID\\" + ClsidText(msim::CLSID_SystemKeyboard) + L"\\InprocServer32";
  win32::RegKey key;
  if (key.Open(HKEY_CLASSES_ROOT, path.c_str(), KEY_READ) != ERROR_SUCCESS) return false;
  wchar_t value[MAX_PATH + 1] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  value[size / sizeof(wchar_t)] = L'\0';
  return lstrcmpW(value, msim::kSystemKeyboardLibrary) == 0;
}

}  // namespace

bool EnsureSystemKeyboard(std::wstring& error) {
  wchar_t system[MAX_PATH] = {};
  if (GetSystemDirectoryW(system, MAX_PATH) == 0) {
    error = L"cannot find the system folder";
    return false;
  }
  const std::wstring installed = std::wstring(system) + L"\\" + msim::kSystemKeyboardLibrary;
  const std::wstring ours = FolderOfProgram() + L"\\" + msim::kSystemKeyboardLibrary;
  if (GetFileAttributesW(ours.c_str()) != INVALID_FILE_ATTRIBUTES && !SameFile(ours, installed) &&
      !CopyFileW(ours.c_str(), installed.c_str(), FALSE)) {
    error = L"cannot copy " + ours + L" to " + installed;
    return false;
  }
  if (IsRegistered()) return true;
  HMODULE library = LoadLibraryW(installed.c_str());
  if (!library) {
    error = L"cannot load " + installed;
    return false;
  }
  using Register = HRESULT(STDAPICALLTYPE*)();
  auto doRegister = reinterpret_cast<Register>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer")));
  const bool registered = doRegister && SUCCEEDED(doRegister());
  FreeLibrary(library);
  if (!registered) error = L"cannot register " + installed;
  return registered;
}

}  // namespace tessaline::emulator
