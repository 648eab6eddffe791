// Afterboot.exe: started by the device from a launch slot, with the slot number as its argument.
// It has no window.
#include <windows.h>

#include "UninstallFinisher.h"
#include "platform/LaunchArguments.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return tessaline::afterboot::RunUninstallFinisher(tessaline::device::ProgramArguments(),
                                                    tessaline::afterboot::StartDetached);
}
