// The emulated device's installer, as the platform runs it for an application's package:
//
//   1. load the package's setup hook library and call Install_Init (a refusal stops here, and
//      nothing is copied);
//   2. copy every file of the package into the installation folder, keeping its sub-folders
//      (a user's dictionary already there is never overwritten), and put the platform's
//      uninstaller into the system folder when it is missing there;
//   3. record the installed files for the uninstaller (AppRecord.h);
//   4. register the self-registering library (a failed registration counts as a failed file);
//   5. call Install_Exit with the number of files that failed.
#pragma once

#include <string>

#include "device/SetupHost.h"

namespace tessaline::emulator {

struct InstallerOptions {
  std::wstring package;   // the package's folder
  std::wstring programs;  // the folder holding the platform's uninstaller (empty: not placed)
  SetupHost host;
};

// Exit statuses of the installer and the uninstaller.
inline constexpr int kSetupDone = 0;
inline constexpr int kSetupFailed = 1;  // refused, cancelled, or not all files could be handled

int RunInstaller(const InstallerOptions& options);

// Puts the platform's uninstaller from `programs` into the system folder unless the same file is
// there already. False, with the reason, when it cannot.
bool PlaceUninstaller(const std::wstring& programs, std::wstring& error);

}  // namespace tessaline::emulator
