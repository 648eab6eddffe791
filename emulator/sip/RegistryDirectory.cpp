// The input method directory kept in the emulated device's registry: the installed input
// methods are the classes whose key holds IsSIPInputMethod; the current one is a value beside
// the device's input panel settings.
#include <objbase.h>

#include "msim/SystemKeyboard.h"
#include "sip/InputMethodDirectory.h"
#include "system/win32/Handles.h"

namespace tessaline::emulator {
namespace {

using win32::RegKey;

constexpr wchar_t kSipKey[] = L"ControlPanel\\Sip";
constexpr wchar_t kCurrentValue[] = L"CurrentIm";

std::wstring ReadDefault(HKEY root, const wchar_t* path) {
  RegKey key;
  if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return {};
  wchar_t buffer[MAX_PATH + 1] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  buffer[size / sizeof(wchar_t)] = L'\0';
  return buffer;
}

class RegistryDirectory final : public InputMethodDirectory {
 public:
  std::vector<InstalledInputMethod> Enumerate() override {
    std::vector<InstalledInputMethod> found;
    RegKey classes;
    if (classes.Open(HKEY_CLASSES_ROOT, L"CLSID", KEY_READ) != ERROR_SUCCESS) return found;
    wchar_t name[64];
    for (DWORD index = 0;; ++index) {
      DWORD length = 64;
      const LONG status =
          RegEnumKeyExW(classes.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_NO_MORE_ITEMS) break;
      if (status != ERROR_SUCCESS) continue;
      RegKey marker;
      const std::wstring markerPath = std::wstring(name) + L"\\IsSIPInputMethod";
      if (marker.Open(classes.Get(), markerPath.c_str(), KEY_READ) != ERROR_SUCCESS) continue;
      InstalledInputMethod method;
      if (FAILED(CLSIDFromString(name, &method.clsid))) continue;
      method.name = ReadDefault(classes.Get(), name);
      if (method.name.empty()) method.name = name;
      found.push_back(std::move(method));
    }
    return found;
  }

  bool GetCurrent(CLSID& clsid) override {
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kSipKey, KEY_READ) != ERROR_SUCCESS) return false;
    wchar_t text[64] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), kCurrentValue, nullptr, &type, reinterpret_cast<BYTE*>(text),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
      return false;
    }
    text[size / sizeof(wchar_t)] = L'\0';
    return SUCCEEDED(CLSIDFromString(text, &clsid));
  }

  bool SetCurrent(const CLSID& clsid) override {
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, kSipKey) != ERROR_SUCCESS) return false;
    const std::wstring text = ClsidText(clsid);
    return RegSetValueExW(key.Get(), kCurrentValue, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }
};

}  // namespace

std::unique_ptr<InputMethodDirectory> CreateRegistryDirectory() {
  return std::make_unique<RegistryDirectory>();
}

std::wstring ClsidText(const CLSID& clsid) {
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  return text;
}

bool ChooseInputMethod(InputMethodDirectory& directory, CLSID& clsid) {
  const std::vector<InstalledInputMethod> installed = directory.Enumerate();
  if (installed.empty()) return false;
  CLSID current{};
  if (directory.GetCurrent(current)) {
    for (const InstalledInputMethod& method : installed) {
      if (method.clsid == current) {
        clsid = current;
        return true;
      }
    }
  }
  for (const InstalledInputMethod& method : installed) {
    if (method.clsid == msim::CLSID_SystemKeyboard) {
      clsid = method.clsid;
      return true;
    }
  }
  clsid = installed.front().clsid;
  return true;
}

}  // namespace tessaline::emulator
