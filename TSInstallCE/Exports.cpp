// TSInstallCE.dll's exports: the four setup hooks of the installer's protocol, and a way for a
// host without a person in front of it to answer the hooks' message boxes.
#include <windows.h>

#include "InstallHooks.h"
#include "SetupMessages.h"

using namespace tessaline::setup;

extern "C" {

codeINSTALL_INIT WINAPI Install_Init(HWND parent, BOOL firstCall, BOOL previouslyInstalled,
                                     LPCWSTR installFolder) {
  return InstallInit(parent);
}

codeINSTALL_EXIT WINAPI Install_Exit(HWND parent, LPCWSTR installFolder, WORD failedFolders,
                                     WORD failedFiles, WORD failedRegistryKeys,
                                     WORD failedRegistryValues, WORD failedShortcuts) {
  return InstallExit(failedFiles);
}

codeUNINSTALL_INIT WINAPI Uninstall_Init(HWND parent, LPCWSTR installFolder) {
  return UninstallInit(parent);
}

codeUNINSTALL_EXIT WINAPI Uninstall_Exit(HWND parent) { return UninstallExit(); }

// Called with each message instead of a message box; answers as MessageBoxW would (IDOK,
// IDCANCEL). A null procedure restores the message boxes.
typedef int(CALLBACK* SetupMessageProc)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);

void WINAPI SetSetupMessageProc(SetupMessageProc proc) {
  if (!proc) {
    SetSetupMessageHandler(nullptr);
    return;
  }
  SetSetupMessageHandler([proc](const SetupMessage& message) {
    return proc(message.owner, message.text.c_str(), message.caption.c_str(), message.style);
  });
}

}  // extern "C"
