// The emulated device's state, kept in the registry so that every process of the device sees it:
// the program that makes a call, the emulator that plays the device around it, and a test in yet
// another process. TSDevice.dll changes it through the device services calls; the emulator and
// the tests read it (and reset it) through these functions.
//
// Everything lives under HKEY_LOCAL_MACHINE\Software\EmulatedDevice:
//   CurrentIm     REG_SZ "{...}"  the current input method (absent: none chosen yet)
//   SipFlags      REG_DWORD       the flags of the last SipShowIM (SIPF_ON: the panel is shown)
//   SoftReset     REG_DWORD       1 while a soft reset is requested and the device has not
//   restarted PausePercent  REG_DWORD       how long the launched programs' pauses really last, in
//   percent
//                                 (absent: 100); a device never has it, tests shorten pauses with
//                                 it
//   Started\<slot> REG_DWORD      process id of the program that gave the start-up signal with
//                                 that launch slot number
//   Calls\...                     the call record (DeviceRecord.h)
// The user's choice of input method is the platform's own value "DefaultIm" under
// HKEY_CURRENT_USER\ControlPanel\Sip; making an input method current writes it too.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tessaline::device {

inline constexpr wchar_t kDeviceKey[] = L"Software\\EmulatedDevice";  // under HKEY_LOCAL_MACHINE
inline constexpr wchar_t kSipKey[] = L"ControlPanel\\Sip";            // under HKEY_CURRENT_USER
inline constexpr wchar_t kDefaultImValue[] = L"DefaultIm";

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, as the registry keeps class keys.
std::wstring ClassText(const CLSID& clsid);
// The class named by that text (with braces); nothing when the text is no class identifier.
std::optional<CLSID> ClassFromText(const std::wstring& text);

// True when HKEY_CLASSES_ROOT\CLSID\{...} is a registered input method: its key holds the subkey
// IsSIPInputMethod (or, as some setups write it, a value of that name).
bool IsInstalledInputMethod(const CLSID& clsid);

std::optional<CLSID> CurrentInputMethod();
void SetCurrentInputMethod(const CLSID& clsid);  // CurrentIm and DefaultIm
void ClearCurrentInputMethod();

// "DefaultIm" as a class; nothing when it is missing or names no class.
std::optional<CLSID> DefaultInputMethod();

DWORD SipFlags();
void SetSipFlags(DWORD flags);

bool SoftResetRequested();
void SetSoftResetRequested(bool requested);

// The launch slots whose programs gave the start-up signal, in increasing order.
std::vector<DWORD> StartedSlots();
void MarkSlotStarted(DWORD slot);
void ClearStartedSlots();

// What the device does when it (re)starts, before it runs the launch slots: the soft reset is
// done, no program has signalled yet, the panel is hidden, and the input method named by
// "DefaultIm" is current when it is installed (otherwise the current one stays). The emulator
// calls it at start; it notifies nobody.
void BeginDeviceStart();

// A pause of a launched program: `milliseconds` scaled by PausePercent.
DWORD ScaledPauseMilliseconds(DWORD milliseconds);
void DevicePause(DWORD milliseconds);
void SetPausePercent(std::optional<DWORD> percent);  // nothing: real pauses

}  // namespace tessaline::device
