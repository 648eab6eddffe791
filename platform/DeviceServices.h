// The device services: the Windows CE system calls that Win32 lacks and that the deliverables
// make (the soft input panel calls, the input method list, the soft reset, the start-up signal).
// On a device they come from the system; here they come from one small shared library,
// TSDevice.dll, built from platform/ and linked by every deliverable and by the emulator.
//
// The library keeps the device's state where every process sees it (the emulated device's
// registry), records every call (tests read the record), and tells a running emulator about each
// change with a window message. Without a running emulator each call still has its defined effect
// on that state.
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
// Shows (SIPF_ON) or hides (SIPF_OFF) the soft input panel.
TSDEVICE_API BOOL WINAPI SipShowIM(DWORD flags);
// Makes the input method of that class the current one.
TSDEVICE_API BOOL WINAPI SipSetCurrentIM(CLSID* clsid);
// The class of the current input method.
TSDEVICE_API BOOL WINAPI SipGetCurrentIM(CLSID* clsid);
// Calls proc for every installed input method: every class under HKEY_CLASSES_ROOT\CLSID whose
// key holds the subkey IsSIPInputMethod. Returns the number reported.
TSDEVICE_API int WINAPI SipEnumIM(IMENUMPROC proc);
// The kernel's request channel; only IOCTL_HAL_REBOOT (no buffers) is served.
TSDEVICE_API BOOL WINAPI KernelIoControl(DWORD code, void* in, DWORD inSize, void* out,
                                         DWORD outSize, DWORD* returned);
// Tells the start-up sequence that the program started from that launch slot is running.
TSDEVICE_API void WINAPI SignalStarted(DWORD launchSlot);
}
