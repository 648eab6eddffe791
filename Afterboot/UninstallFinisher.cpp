#include "UninstallFinisher.h"

#include "platform/DeviceServices.h"
#include "platform/LaunchArguments.h"
#include "settings/LaunchSlots.h"
#include "win32/Handles.h"

namespace tessaline::afterboot {

int RunUninstallFinisher(const std::vector<std::wstring>& arguments, const StartProgram& start) {
  // Only the first entry goes, so that the finisher runs once per removal.
  const int slot = FindLaunchSlot(u"Afterboot.exe");
  if (slot != 0) DeleteLaunchSlot(slot);
  // The platform's uninstaller, given the name under which the application is installed. A
  // failure to start it is not reported: the application then stays installed.
  start(L"unload.exe", L"Tulvane Tessaline");
  if (!arguments.empty()) SignalStarted(device::DecimalArgument(arguments[0]));
  return 0;
}

bool StartDetached(const std::wstring& program, const std::wstring& arguments) {
  // Without an application name CreateProcessW looks for the program as the device's shell
  // would: beside this program, in the current folder, the system folders and the search path.
  std::wstring commandLine = program + L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  // Nothing waits for it: its handles are closed at once.
  const win32::Process started(process);
  return true;
}

}  // namespace tessaline::afterboot
