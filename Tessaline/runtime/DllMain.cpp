// Entry point of Tessaline.dll: records the library's module so that skins find the built-in
// pictures among its resources, and takes the runtime's window classes away again when the
// library is unloaded (a class outlives the library that registered it otherwise).
#include <windows.h>

#include "panel/win32/PanelDraw.h"
#include "runtime/MessageWindow.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    tessaline::SetBitmapModule(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary (not at process exit, when the classes go with the process).
    tessaline::UnregisterRuntimeWindowClasses();
  }
  return TRUE;
}
