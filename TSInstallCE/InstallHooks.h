// What the four setup hooks do, callable without the library's exports (the tests call these).
#pragma once

#include <windows.h>

#include "platform/SetupHooks.h"

namespace tessaline::setup {

// Cleans the launch slots, then refuses an installation over an existing one.
codeINSTALL_INIT InstallInit(HWND parent);

// Makes the input method current after an installation in which no file failed.
codeINSTALL_EXIT InstallExit(WORD failedFiles);

// Cleans the launch slots, hands "DefaultIm" back to a system input method, and, when the
// library is in use and the user agrees, leaves the deferred uninstall entry and resets the
// device.
codeUNINSTALL_INIT UninstallInit(HWND parent);

codeUNINSTALL_EXIT UninstallExit();

}  // namespace tessaline::setup
