// TSSelect.exe: started by the device from a launch slot, with the slot number as its argument.
// It has no window. Its pauses are real unless the emulated device shortens them (PausePercent).
#include <windows.h>

#include "StartupSelector.h"
#include "platform/LaunchArguments.h"
#include "platform/DeviceState.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return tessaline::select::RunStartupSelector(tessaline::device::ProgramArguments(),
                                               tessaline::device::DevicePause);
}
