// unload.exe, the emulated device's uninstaller: "unload.exe Tulvane Tessaline" removes the
// installed application of that name (Uninstaller.h). It has no window; what it reports goes to
// its standard output when it has one (the emulator's script gives it the emulator's standard
// error), and its setup library's questions are answered as the device answers them.
#include <objbase.h>
#include <windows.h>

#include "device/SetupAnswer.h"
#include "device/SetupHost.h"
#include "device/Uninstaller.h"

namespace {

// The command line after the program's own name, as it was written.
std::wstring ArgumentText() {
  const std::wstring line = GetCommandLineW();
  size_t at = 0;
  if (!line.empty() && line[0] == L'"') {
    const size_t close = line.find(L'"', 1);
    at = close == std::wstring::npos ? line.size() : close + 1;
  } else {
    at = line.find_first_of(L" \t");
    if (at == std::wstring::npos) at = line.size();
  }
  return line.substr(at);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tessaline::emulator;
  const std::wstring application = ApplicationFromArguments(ArgumentText());
  if (application.empty()) {
    WriteOutputLine("usage: unload.exe APPLICATION");
    return 2;
  }
  // Unregistering a library registers and removes its type library through COM's services.
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  const int status = RunUninstaller(application, DeviceSetupHost(false, WriteOutputLine));
  CoUninitialize();
  return status;
}
