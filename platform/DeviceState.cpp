#include "platform/DeviceState.h"

#include <objbase.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "platform/DeviceRegistry.h"
#include "platform/InputMethod.h"
#include "win32/Handles.h"

namespace tessaline::device {
namespace {

const std::wstring kStartedKey = std::wstring(kDeviceKey) + L"\\Started";

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

std::wstring ClassText(const CLSID& clsid) {
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  std::wstring result(text);
  for (wchar_t& c : result) c = static_cast<wchar_t>(std::towupper(c));
  return result;
}

std::optional<CLSID> ClassFromText(const std::wstring& text) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}: 38 characters, hyphens at 9, 14, 19 and 24.
  if (text.size() != 38 || text.front() != L'{' || text.back() != L'}') return std::nullopt;
  unsigned char bytes[16] = {};
  size_t byte = 0;
  for (size_t i = 1; i < 37;) {
    if (i == 9 || i == 14 || i == 19 || i == 24) {
      if (text[i] != L'-') return std::nullopt;
      ++i;
      continue;
    }
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[byte++] = static_cast<unsigned char>(high * 16 + low);
    i += 2;
  }
  CLSID clsid{};
  clsid.Data1 =
      (DWORD(bytes[0]) << 24) | (DWORD(bytes[1]) << 16) | (DWORD(bytes[2]) << 8) | bytes[3];
  clsid.Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
  clsid.Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
  std::copy(bytes + 8, bytes + 16, clsid.Data4);
  return clsid;
}

bool IsInstalledInputMethod(const CLSID& clsid) {
  const std::wstring classKey = L"CLSID\\" + ClassText(clsid);
  win32::RegKey key;
  if (key.Open(HKEY_CLASSES_ROOT, classKey.c_str(), KEY_READ) != ERROR_SUCCESS) return false;
  win32::RegKey marker;
  if (marker.Open(key.Get(), L"IsSIPInputMethod", KEY_READ) == ERROR_SUCCESS) return true;
  return RegQueryValueExW(key.Get(), L"IsSIPInputMethod", nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

std::optional<CLSID> CurrentInputMethod() {
  const auto text = ReadText(HKEY_LOCAL_MACHINE, kDeviceKey, L"CurrentIm");
  return text ? ClassFromText(*text) : std::nullopt;
}

void SetCurrentInputMethod(const CLSID& clsid) {
  const std::wstring text = ClassText(clsid);
  WriteText(HKEY_LOCAL_MACHINE, kDeviceKey, L"CurrentIm", text);
  WriteText(HKEY_CURRENT_USER, kSipKey, kDefaultImValue, text);
}

void ClearCurrentInputMethod() { DeleteValue(HKEY_LOCAL_MACHINE, kDeviceKey, L"CurrentIm"); }

std::optional<CLSID> DefaultInputMethod() {
  const auto text = ReadText(HKEY_CURRENT_USER, kSipKey, kDefaultImValue);
  return text ? ClassFromText(*text) : std::nullopt;
}

DWORD SipFlags() { return ReadNumber(HKEY_LOCAL_MACHINE, kDeviceKey, L"SipFlags").value_or(0); }

void SetSipFlags(DWORD flags) { WriteNumber(HKEY_LOCAL_MACHINE, kDeviceKey, L"SipFlags", flags); }

bool SoftResetRequested() {
  return ReadNumber(HKEY_LOCAL_MACHINE, kDeviceKey, L"SoftReset").value_or(0) != 0;
}

void SetSoftResetRequested(bool requested) {
  if (requested) {
    WriteNumber(HKEY_LOCAL_MACHINE, kDeviceKey, L"SoftReset", 1);
  } else {
    DeleteValue(HKEY_LOCAL_MACHINE, kDeviceKey, L"SoftReset");
  }
}

std::vector<DWORD> StartedSlots() {
  std::vector<DWORD> slots;
  win32::RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, kStartedKey.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return slots;
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[32];
    DWORD length = 32;
    const LONG status =
        RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;  // not a slot number
    if (status != ERROR_SUCCESS) break;
    wchar_t* end = nullptr;
    const unsigned long slot = std::wcstoul(name, &end, 10);
    if (end != name && *end == L'\0') slots.push_back(static_cast<DWORD>(slot));
  }
  std::sort(slots.begin(), slots.end());
  return slots;
}

void MarkSlotStarted(DWORD slot) {
  WriteNumber(HKEY_LOCAL_MACHINE, kStartedKey.c_str(), std::to_wstring(slot).c_str(),
              GetCurrentProcessId());
}

void ClearStartedSlots() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kStartedKey.c_str()); }

void BeginDeviceStart() {
  SetSoftResetRequested(false);
  ClearStartedSlots();
  SetSipFlags(SIPF_OFF);
  const auto chosen = DefaultInputMethod();
  if (chosen && IsInstalledInputMethod(*chosen)) {
    WriteText(HKEY_LOCAL_MACHINE, kDeviceKey, L"CurrentIm", ClassText(*chosen));
  }
}

DWORD ScaledPauseMilliseconds(DWORD milliseconds) {
  const DWORD percent = ReadNumber(HKEY_LOCAL_MACHINE, kDeviceKey, L"PausePercent").value_or(100);
  return static_cast<DWORD>(static_cast<unsigned long long>(milliseconds) *
                            std::min<DWORD>(percent, 100) / 100);
}

void DevicePause(DWORD milliseconds) { Sleep(ScaledPauseMilliseconds(milliseconds)); }

void SetPausePercent(std::optional<DWORD> percent) {
  if (percent) {
    WriteNumber(HKEY_LOCAL_MACHINE, kDeviceKey, L"PausePercent", *percent);
  } else {
    DeleteValue(HKEY_LOCAL_MACHINE, kDeviceKey, L"PausePercent");
  }
}

}  // namespace tessaline::device
