#include "device/SetupCommand.h"

#include <windows.h>

#include "device/DevicePaths.h"
#include "device/Installer.h"
#include "device/Package.h"
#include "device/Uninstaller.h"
#include "screen/Utf8.h"

namespace tessaline::emulator {
namespace {

void WriteLine(const std::string& line) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

int RunSetupCommand(const CommandLine& line) {
  SetupHost host = DeviceSetupHost(line.headless, WriteLine);
  if (!line.uninstall.empty()) return RunUninstaller(FromUtf8(line.uninstall), host);
  InstallerOptions options;
  options.package =
      line.package.empty() ? JoinPath(ProgramFolder(), kPackageFolderName) : FromUtf8(line.package);
  options.programs = ProgramFolder();
  options.host = std::move(host);
  return RunInstaller(options);
}

}  // namespace tessaline::emulator
