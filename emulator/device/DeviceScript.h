// The script commands that play the platform around an application (Script.h): the installer,
// the uninstaller, the reset button, the answer to the setup hooks' questions, waiting for an
// input method to become current, and choosing one in the picker. Each becomes a few steps of
// the script runner; a step that waits on the device answers kStepNotDone until it is done.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "script/Script.h"
#include "win32/Handles.h"

namespace tessaline::emulator {

class CDeviceWnd;
class DeviceStart;
class Pen;

// A step's answer meaning "not yet: run me again after my pause".
inline const std::string kStepNotDone = std::string(1, '\0') + "not done";

struct DeviceStep {
  std::function<std::string()> run;  // "", kStepNotDone, or an error naming the script line
  UINT pauseAfter = 0;
};

// How long the waiting commands wait at most.
inline constexpr DWORD kProgramTimeout = 180000;  // install, uninstall
inline constexpr DWORD kCurrentTimeout = 90000;   // current

// The steps of one device command; empty for a command of another kind.
std::vector<DeviceStep> DeviceCommandSteps(const ScriptCommand& command, CDeviceWnd& device,
                                           Pen& pen, DeviceStart& start);

// The device's program for a setup command, started with this emulator's standard error as its
// output (the emulator's standard output is the Notes text). Empty when it cannot start.
win32::Process StartSetupProgram(const std::wstring& program, const std::wstring& arguments);

}  // namespace tessaline::emulator
