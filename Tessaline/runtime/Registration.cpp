#include "runtime/Registration.h"

#include <oleauto.h>

#include "runtime/ComModule.h"
#include "system/ProductIds.h"
#include "win32/ComPtr.h"
#include "win32/Handles.h"

namespace tessaline {
namespace {

constexpr const wchar_t* kClassId = kInputMethodClassId;
constexpr const wchar_t* kClassKey = kInputMethodClassKey;
constexpr const wchar_t* kAppId = L"{75EE3702-4D8E-416A-96AB-F736052FE084}";
constexpr const wchar_t* kTypeLibId = L"{793AF27C-9A12-4C8F-AC9C-05CAA5D0C6BC}";
constexpr const wchar_t* kTypeLibKey = L"TypeLib\\{793AF27C-9A12-4C8F-AC9C-05CAA5D0C6BC}";
constexpr const wchar_t* kModulePathMark = nullptr;

// One value: the key (under HKEY_CLASSES_ROOT), the value's name (empty: the default value) and
// its text (kModulePathMark: the module's path). A value of nullptr name only makes the key.
struct Entry {
  std::wstring key;
  const wchar_t* name;
  const wchar_t* text;
};

std::wstring Class(const wchar_t* subkey) {
  return std::wstring(kClassKey) + (subkey ? std::wstring(L"\\") + subkey : std::wstring());
}

const Entry* Entries(size_t& count) {
  static const Entry entries[] = {
      {L"Tessaline.TSInputM.1", L"", L"TSInputM Class"},
      {L"Tessaline.TSInputM.1\\CLSID", L"", kClassId},
      {L"Tessaline.TSInputM", L"", L"TSInputM Class"},
      {L"Tessaline.TSInputM\\CLSID", L"", kClassId},
      {L"Tessaline.TSInputM\\CurVer", L"", L"Tessaline.TSInputM.1"},
      {Class(nullptr), L"", L"TSInputM Class"},
      {Class(L"ProgID"), L"", L"Tessaline.TSInputM.1"},
      {Class(L"VersionIndependentProgID"), L"", L"Tessaline.TSInputM"},
      {Class(L"Programmable"), nullptr, nullptr},
      {Class(L"InprocServer32"), L"", kModulePathMark},
      {Class(L"InprocServer32"), L"ThreadingModel", L"Free"},
      {Class(L"TypeLib"), L"", kTypeLibId},
      {Class(L"IsSIPInputMethod"), L"", L"1"},
      {Class(nullptr), L"Desc", L"Tessaline input method"},
      {Class(nullptr), L"Path", L"\\Program files\\Tessaline"},
      {std::wstring(L"AppID\\") + kAppId, L"", L"Tessaline"},
      {L"AppID\\Tessaline.DLL", L"AppID", kAppId},
  };
  count = sizeof entries / sizeof entries[0];
  return entries;
}

// The keys removed whole.
const wchar_t* const kRemovedKeys[] = {
    L"Tessaline.TSInputM.1",
    L"Tessaline.TSInputM",
    kClassKey,
    L"AppID\\{75EE3702-4D8E-416A-96AB-F736052FE084}",
    L"AppID\\Tessaline.DLL",
};

LONG WriteEntry(const Entry& entry, const std::wstring& modulePath) {
  win32::RegKey key;
  LONG status = key.Create(HKEY_CLASSES_ROOT, entry.key.c_str(), KEY_SET_VALUE);
  if (status != ERROR_SUCCESS || !entry.name) return status;
  const std::wstring text = entry.text ? std::wstring(entry.text) : modulePath;
  return RegSetValueExW(key.Get(), entry.name, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

HRESULT RegisterTessaline(const std::wstring& modulePath) {
  if (modulePath.empty()) return E_UNEXPECTED;
  size_t count = 0;
  const Entry* entries = Entries(count);
  for (size_t i = 0; i < count; ++i) {
    const LONG status = WriteEntry(entries[i], modulePath);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  }
  win32::ComPtr<ITypeLib> library;
  const HRESULT loaded = LoadTypeLibEx(modulePath.c_str(), REGKIND_REGISTER, library.Put());
  if (FAILED(loaded)) return loaded;
  return S_OK;
}

HRESULT UnregisterTessaline() {
  HRESULT result = S_OK;
  for (const wchar_t* key : kRemovedKeys) {
    const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      result = HRESULT_FROM_WIN32(status);
    }
    // The key itself: RegDeleteTreeW empties it; removing it is the second step.
    const LONG own = RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
    if (own != ERROR_SUCCESS && own != ERROR_FILE_NOT_FOUND) result = HRESULT_FROM_WIN32(own);
  }
  // A type library that is not registered (any more) is not asked to go: the system answers
  // that with a failure of its own.
  win32::RegKey typeLibrary;
  if (typeLibrary.Open(HKEY_CLASSES_ROOT, kTypeLibKey, KEY_READ) == ERROR_SUCCESS) {
    typeLibrary.Close();
    const HRESULT library = UnRegisterTypeLib(LIBID_Tessaline, 1, 0, LANG_NEUTRAL,
                                              sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    if (FAILED(library)) result = library;
  }
  return result;
}

}  // namespace tessaline
