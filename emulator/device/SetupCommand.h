// The emulator as the device's installer (--install) and uninstaller (--uninstall NAME): no
// device screen, the report on standard output.
#pragma once

#include "script/CommandLine.h"

namespace tessaline::emulator {

// The installer's or uninstaller's exit status (Installer.h).
int RunSetupCommand(const CommandLine& line);

}  // namespace tessaline::emulator
