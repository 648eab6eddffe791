// The platform's uninstaller ("unload.exe APPLICATION"), following the device's record of the
// installed application (AppRecord.h):
//
//   1. load the application's setup hook library from its installation folder and call
//      Uninstall_Init (a cancel stops here);
//   2. when that requested a soft reset, stop: the device restarts, and the removal is finished
//      by whatever the setup library arranged for the next start;
//   3. unregister the self-registered libraries, delete the recorded files (a file still in use
//      stays and is named), call Uninstall_Exit, free the setup library and delete it too;
//   4. remove the folders left empty and the record.
//
// Only recorded files go. The application's files that were not installed, such as the user's
// dictionaries (Languages\*.usr) which hold the words the user taught, stay in their folder, so
// that a later installation finds them again.
#pragma once

#include <string>

#include "device/SetupHost.h"

namespace tessaline::emulator {

// Exit status as the installer's (Installer.h): kSetupDone when every recorded file is gone;
// kSetupFailed when the application is not installed, the removal was cancelled, or a file
// stayed.
int RunUninstaller(const std::wstring& application, const SetupHost& host);

// The application's name from the uninstaller's command line (what follows the program's name),
// outer white space and one pair of enclosing double quotes removed.
std::wstring ApplicationFromArguments(const std::wstring& arguments);

}  // namespace tessaline::emulator
