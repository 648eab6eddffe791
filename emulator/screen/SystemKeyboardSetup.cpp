#include "screen/SystemKeyboardSetup.h"

#include <windows.h>

#include "device/DevicePaths.h"
#include "msim/SystemKeyboard.h"
#include "sip/InputMethodDirectory.h"
#include "win32/Handles.h"

namespace tessaline::emulator {
namespace {

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
  const std::wstring ours = ProgramFolder() + L"\\" + msim::kSystemKeyboardLibrary;
  if (GetFileAttributesW(ours.c_str()) != INVALID_FILE_ATTRIBUTES &&
      !SameFileStamp(ours, installed) && !CopyFileW(ours.c_str(), installed.c_str(), FALSE)) {
    error = L"cannot copy " + ours + L" to " + installed;
    return false;
  }
  if (IsRegistered()) return true;
  win32::Library library(LoadLibraryW(installed.c_str()));
  if (!library) {
    error = L"cannot load " + installed;
    return false;
  }
  using Register = HRESULT(STDAPICALLTYPE*)();
  auto doRegister = library.Find<Register>("DllRegisterServer");
  const bool registered = doRegister && SUCCEEDED(doRegister());
  library.Reset();
  if (!registered) error = L"cannot register " + installed;
  return registered;
}

}  // namespace tessaline::emulator
