// Entry point of Tessaline.dll: records the library's module so that skins find the built-in
// pictures among its resources.
#include <windows.h>

#include "panel/win32/PanelDraw.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    tessaline::SetBitmapModule(instance);
  }
  return TRUE;
}
