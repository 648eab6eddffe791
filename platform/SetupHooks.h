// The setup-hook protocol of the device's installer: the four entry points a setup hook library
// exports, the arguments the installer passes to them and the results they answer with. Win32
// has no such protocol, so it is declared here from what a setup hook needs: TSInstallCE.dll
// implements it, and the emulator's installer and uninstaller call it.
//
// The installer loads the library and finds the entry points by these names:
//   Install_Init    before any file is copied; CANCEL refuses the installation
//   Install_Exit    after the files, folders, registry entries and shortcuts were made
//   Uninstall_Init  before anything is removed
//   Uninstall_Exit  after the removal
#pragma once

#include <windows.h>

enum codeINSTALL_INIT { codeINSTALL_INIT_CONTINUE = 0, codeINSTALL_INIT_CANCEL = 1 };
enum codeINSTALL_EXIT { codeINSTALL_EXIT_DONE = 0, codeINSTALL_EXIT_UNINSTALL = 1 };
enum codeUNINSTALL_INIT { codeUNINSTALL_INIT_CONTINUE = 0, codeUNINSTALL_INIT_CANCEL = 1 };
enum codeUNINSTALL_EXIT { codeUNINSTALL_EXIT_DONE = 0 };

extern "C" {

// parent: the installer's window (owner of any message); firstCall: TRUE on the first call of an
// installation; previouslyInstalled: TRUE when the installer finds the application installed;
// installFolder: the folder the application goes into.
typedef codeINSTALL_INIT(WINAPI* InstallInitProc)(HWND parent, BOOL firstCall,
                                                  BOOL previouslyInstalled, LPCWSTR installFolder);

// The numbers of folders, files, registry keys, registry values and shortcuts that failed.
typedef codeINSTALL_EXIT(WINAPI* InstallExitProc)(HWND parent, LPCWSTR installFolder,
                                                  WORD failedFolders, WORD failedFiles,
                                                  WORD failedRegistryKeys,
                                                  WORD failedRegistryValues, WORD failedShortcuts);

typedef codeUNINSTALL_INIT(WINAPI* UninstallInitProc)(HWND parent, LPCWSTR installFolder);

typedef codeUNINSTALL_EXIT(WINAPI* UninstallExitProc)(HWND parent);
}

// The names under which the installer finds the entry points.
inline constexpr char kInstallInitName[] = "Install_Init";
inline constexpr char kInstallExitName[] = "Install_Exit";
inline constexpr char kUninstallInitName[] = "Uninstall_Init";
inline constexpr char kUninstallExitName[] = "Uninstall_Exit";
