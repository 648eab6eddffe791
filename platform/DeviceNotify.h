// How the device services tell a running emulator about a change of the device's state.
//
// The emulator's main window registers the window class "TessalineEmulator". After every change
// the device services post the registered window message "TessalineDeviceChange" to each
// top-level window of that class, with the kind of change in wParam and its detail in lParam.
// The message is posted, never sent: the caller does not wait for the emulator, and the emulator
// itself may make the calls (its own input method hides the panel, for example).
#pragma once

#include <windows.h>

namespace tessaline::device {

inline constexpr wchar_t kEmulatorWindowClass[] = L"TessalineEmulator";
inline constexpr wchar_t kDeviceChangeMessageName[] = L"TessalineDeviceChange";

enum DeviceChange : WPARAM {
  kPanelChanged = 1,        // SipShowIM; lParam = the flags (SIPF_ON shows the panel)
  kCurrentImChanged = 2,    // SipSetCurrentIM; the new class is CurrentInputMethod()
  kSoftResetRequested = 3,  // KernelIoControl(IOCTL_HAL_REBOOT); lParam 0
  kStartedSignalled = 4,    // SignalStarted; lParam = the launch slot number
};

// The registered message's number (the same in every process).
UINT DeviceChangeMessage();

// Posts the change to every emulator window; returns how many received it.
int NotifyEmulator(DeviceChange change, LPARAM detail = 0);

}  // namespace tessaline::device
