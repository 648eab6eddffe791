#include "device/SetupCommand.h"

#include <windows.h>

#include "device/DevicePaths.h"
#include "device/Installer.h"
#include "device/Package.h"
#include "device/SetupHost.h"
#include "device/Uninstaller.h"
#include "system/WideText.h"

namespace tessaline::emulator {

int RunSetupCommand(const CommandLine& line) {
  SetupHost host = DeviceSetupHost(line.headless, WriteOutputLine);
  if (!line.uninstall.empty()) return RunUninstaller(Utf8ToWin32Wide(line.uninstall), host);
  InstallerOptions options;
  options.package = line.package.empty() ? JoinPath(ProgramFolder(), kPackageFolderName)
                                         : Utf8ToWin32Wide(line.package);
  options.programs = ProgramFolder();
  options.host = std::move(host);
  return RunInstaller(options);
}

}  // namespace tessaline::emulator
