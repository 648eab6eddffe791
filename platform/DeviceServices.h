// The device services: the Windows CE system calls that Win32 lacks and that the deliverables
// make (the soft input panel calls, the input method list, the soft reset, the start-up signal).
// On a device they come from the system; here they come from one small shared library,
// TSDevice.dll, built from platform/ and linked by every deliverable and by the emulator.
//
// The library keeps the device's state where every process sees it (the emulated device's
// registry), records every call (tests read the record), and tells a running emulator about each
// change with a window message. Without a running emulator each call still has its defined effect
// on that state. The state, the record and the notification are described in DeviceState.h,
// DeviceRecord.h and DeviceNotify.h.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/InputMethod.h"

#ifdef TSDEVICE_BUILDING
#define TSDEVICE_API __declspec(dllexport)
#else
#define TSDEVICE_API __declspec(dllimport)
#endif

// KernelIoControl request: restart the device (a soft reset).
constexpr DWORD IOCTL_HAL_REBOOT = 0x0101003C;

// One installed input method, as the enumeration reports it.
struct IMENUMINFO {
  WCHAR szName[MAX_PATH];  // display name
  CLSID clsid;             // class identifier
};
// Called once per installed input method; returning 0 ends the enumeration.
typedef int(CALLBACK* IMENUMPROC)(IMENUMINFO* info);

extern "C" {
// Shows (SIPF_ON) or hides (SIPF_OFF) the soft input panel. Always TRUE.
TSDEVICE_API BOOL WINAPI SipShowIM(DWORD flags);
// Makes the input method of that class the current one and remembers it as the user's choice
// ("DefaultIm" under HKEY_CURRENT_USER\ControlPanel\Sip, "{...}" in upper case). FALSE, and
// nothing changes, for a null pointer or a class that is not an installed input method.
TSDEVICE_API BOOL WINAPI SipSetCurrentIM(CLSID* clsid);
// The class of the current input method. FALSE (and a zero class) while none has been made
// current on this device.
TSDEVICE_API BOOL WINAPI SipGetCurrentIM(CLSID* clsid);
// Calls proc for every installed input method: every class under HKEY_CLASSES_ROOT\CLSID whose
// key holds the subkey (or a value) IsSIPInputMethod, in increasing order of the class
// identifier's text, with the class key's default value as its name (cut to MAX_PATH - 1
// characters). Returns the number reported.
TSDEVICE_API int WINAPI SipEnumIM(IMENUMPROC proc);
// The kernel's request channel; only IOCTL_HAL_REBOOT (no buffers) is served. The reset happens
// after the call returns: the request is kept and the emulator told, and the call gives TRUE.
// Any other code gives FALSE with ERROR_NOT_SUPPORTED.
TSDEVICE_API BOOL WINAPI KernelIoControl(DWORD code, void* in, DWORD inSize, void* out,
                                         DWORD outSize, DWORD* returned);
// Tells the start-up sequence that the program started from that launch slot is running.
TSDEVICE_API void WINAPI SignalStarted(DWORD launchSlot);
}
