// Entry points of Tessaline.dll: the module records itself (skins find the built-in pictures
// among its resources, the object its type library and icon), takes the runtime's window classes
// away again when the library is unloaded (a class outlives the library that registered it
// otherwise), and the four entry points of an in-process COM server.
#include <windows.h>
#include <objbase.h>

#include "panel/win32/PanelDraw.h"
#include "runtime/ClassFactory.h"
#include "runtime/ComModule.h"
#include "runtime/Registration.h"
#include "win32/MessageWindow.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
    tessaline::SetBitmapModule(instance);
    tessaline::SetComModule(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary (not at process exit, when the classes go with the process).
    tessaline::win32::UnregisterWindowClasses();
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != tessaline::CLSID_TSInputM) return CLASS_E_CLASSNOTAVAILABLE;
  return tessaline::TheTSInputMFactory().QueryInterface(iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return tessaline::ComCanUnload() ? S_OK : S_FALSE; }

extern "C" HRESULT WINAPI DllRegisterServer() {
  return tessaline::RegisterTessaline(tessaline::ComModulePath());
}

extern "C" HRESULT WINAPI DllUnregisterServer() { return tessaline::UnregisterTessaline(); }
