#include "InstallHooks.h"

#include <objbase.h>

#include "DefaultImHandover.h"
#include "LaunchEntries.h"
#include "LibraryInUse.h"
#include "Product.h"
#include "SetupMessages.h"
#include "platform/DeviceServices.h"
#include "win32/Handles.h"

namespace tessaline::setup {
namespace {

constexpr wchar_t kAlreadyInstalled[] =
    L"Tessaline is already installed\nRemove it before new installation";
constexpr wchar_t kInUse[] = L"Tessaline is in use\nSoft Reset the device and uninstall?";

}  // namespace

codeINSTALL_INIT InstallInit(HWND parent) {
  CleanLaunchSlots();
  win32::RegKey classKey;
  if (classKey.Open(HKEY_CLASSES_ROOT, kInputMethodClassKey, KEY_READ) == ERROR_SUCCESS) {
    classKey.Close();
    ShowSetupMessage(parent, kAlreadyInstalled, MB_OK | MB_ICONEXCLAMATION);
    return codeINSTALL_INIT_CANCEL;
  }
  return codeINSTALL_INIT_CONTINUE;
}

codeINSTALL_EXIT InstallExit(WORD failedFiles) {
  CLSID clsid{};
  if (failedFiles == 0 && CLSIDFromString(kInputMethodClass, &clsid) == S_OK) {
    SipSetCurrentIM(&clsid);  // a failure is not reported
  }
  return codeINSTALL_EXIT_DONE;
}

codeUNINSTALL_INIT UninstallInit(HWND parent) {
  // The order matters: the slots are cleaned before the deferred entry may be written, and the
  // default input method is handed back before the device may be reset.
  CleanLaunchSlots();
  HandBackDefaultInputMethod();
  if (!IsLibraryInUse(InputMethodLibraryPath())) return codeUNINSTALL_INIT_CONTINUE;
  if (ShowSetupMessage(parent, kInUse, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK) {
    WriteDeferredUninstallEntry();
    // The device restarts at once; should the request return, the removal goes on.
    KernelIoControl(IOCTL_HAL_REBOOT, nullptr, 0, nullptr, 0, nullptr);
  }
  return codeUNINSTALL_INIT_CONTINUE;
}

codeUNINSTALL_EXIT UninstallExit() { return codeUNINSTALL_EXIT_DONE; }

}  // namespace tessaline::setup
