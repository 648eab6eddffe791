// The script commands that work a window the device's programs open over the device screen, such
// as the input method's options sheet: selecting a tab and clicking a button or check box. They
// act as the controls' own messages do when a person taps them, and wait a moment for the window
// to appear, since the command that opens it runs just before.
#pragma once

#include <vector>

#include "device/DeviceScript.h"

namespace tessaline::emulator {

inline constexpr DWORD kDialogTimeout = 10000;

// `tab NAME` and `click TEXT`.
std::vector<DeviceStep> TabSteps(const ScriptCommand& command);
std::vector<DeviceStep> ClickSteps(const ScriptCommand& command);

// True when the control's text, as shown, is the wanted one: letter case and the '&' that marks
// the access key aside.
bool SameControlText(const std::wstring& shown, const std::wstring& wanted);

}  // namespace tessaline::emulator
