// TSDevice.dll: the device services calls. Each call is recorded first (DeviceRecord.h), then
// changes the device's state (DeviceState.h), then tells a running emulator (DeviceNotify.h).
#include "platform/DeviceServices.h"

#include <algorithm>
#include <cwchar>

#include "platform/DeviceNotify.h"
#include "platform/DeviceRecord.h"
#include "platform/DeviceRegistry.h"
#include "platform/DeviceState.h"
#include "win32/Handles.h"

using namespace tessaline::device;

namespace {

std::wstring ClassArgument(const CLSID* clsid) { return clsid ? ClassText(*clsid) : L"null"; }

struct InstalledInputMethod {
  std::wstring text;  // "{...}" in upper case: the order of enumeration
  CLSID clsid;
};

std::vector<InstalledInputMethod> InstalledInputMethods() {
  std::vector<InstalledInputMethod> found;
  tessaline::win32::RegKey classes;
  if (classes.Open(HKEY_CLASSES_ROOT, L"CLSID", KEY_ENUMERATE_SUB_KEYS) != ERROR_SUCCESS) {
    return found;
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    const LONG status =
        RegEnumKeyExW(classes.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;  // far too long for a class identifier
    if (status != ERROR_SUCCESS) break;
    const auto clsid = ClassFromText(std::wstring(name, length));
    if (clsid && IsInstalledInputMethod(*clsid)) found.push_back({ClassText(*clsid), *clsid});
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.text < b.text; });
  return found;
}

}  // namespace

extern "C" {

TSDEVICE_API BOOL WINAPI SipShowIM(DWORD flags) {
  RecordCall(L"SipShowIM", std::to_wstring(flags));
  SetSipFlags(flags);
  NotifyEmulator(kPanelChanged, static_cast<LPARAM>(flags));
  return TRUE;
}

TSDEVICE_API BOOL WINAPI SipSetCurrentIM(CLSID* clsid) {
  RecordCall(L"SipSetCurrentIM", ClassArgument(clsid));
  if (!clsid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // As on a device, only an installed input method can be made current.
  if (!IsInstalledInputMethod(*clsid)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  SetCurrentInputMethod(*clsid);
  NotifyEmulator(kCurrentImChanged);
  return TRUE;
}

TSDEVICE_API BOOL WINAPI SipGetCurrentIM(CLSID* clsid) {
  RecordCall(L"SipGetCurrentIM", L"");
  if (!clsid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto current = CurrentInputMethod();
  *clsid = current.value_or(CLSID{});
  if (!current) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  return TRUE;
}

TSDEVICE_API int WINAPI SipEnumIM(IMENUMPROC proc) {
  RecordCall(L"SipEnumIM", L"");
  if (!proc) return 0;
  int reported = 0;
  for (const InstalledInputMethod& method : InstalledInputMethods()) {
    IMENUMINFO info{};
    // The display name is the class key's default value; a longer one is cut for display.
    const std::wstring classKey = L"CLSID\\" + method.text;
    const std::wstring name = ReadText(HKEY_CLASSES_ROOT, classKey.c_str(), L"").value_or(L"");
    const size_t length = std::min<size_t>(name.size(), MAX_PATH - 1);
    std::wmemcpy(info.szName, name.data(), length);
    info.szName[length] = L'\0';
    info.clsid = method.clsid;
    ++reported;
    if (!proc(&info)) break;
  }
  return reported;
}

TSDEVICE_API BOOL WINAPI KernelIoControl(DWORD code, void* in, DWORD inSize, void* out,
                                         DWORD outSize, DWORD* returned) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(code));
  RecordCall(L"KernelIoControl", text);
  if (returned) *returned = 0;
  if (code != IOCTL_HAL_REBOOT) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  // The device restarts after the call returns: the emulator deselects its input method and
  // starts again when it reads the message.
  SetSoftResetRequested(true);
  NotifyEmulator(kSoftResetRequested);
  return TRUE;
}

TSDEVICE_API void WINAPI SignalStarted(DWORD launchSlot) {
  RecordCall(L"SignalStarted", std::to_wstring(launchSlot));
  MarkSlotStarted(launchSlot);
  NotifyEmulator(kStartedSignalled, static_cast<LPARAM>(launchSlot));
}

}  // extern "C"
