#include "device/SetupCommand.h"

#include <windows.h>

#include "device/DevicePaths.h"
#include "device/Installer.h"
#include "device/Package.h"
#include "device/SetupHost.h"
#include "device/Uninstaller.h"
#include "screen/Utf8.h"

namespace tessaline::emulator {

int RunSetupCommand(const CommandLine& line) {
  SetupHost host = DeviceSetupHost(line.headless, WriteOutputLine);
  if (!line.uninstall.empty()) return RunUninstaller(FromUtf8(line.uninstall), host);
  InstallerOptions options;
  options.package =
      line.package.empty() ? JoinPath(ProgramFolder(), kPackageFolderName) : FromUtf8(line.package);
  options.programs = ProgramFolder();
  options.host = std::move(host);
  return RunInstaller(options);
}

}  // namespace tessaline::emulator
