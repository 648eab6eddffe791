// MSIM.DLL's in-process server entry points: the class factory of the system keyboard and its
// registration. The registry names the library by its bare name "MSIM.DLL", as on a device,
// so the library is found in the system folder whatever path regsvr32 was given.
#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <atomic>
#include <string>

#include "SystemKeyboard.h"
#include "SystemKeyboardObject.h"
#include "win32/ComPtr.h"
#include "win32/Handles.h"
#include "win32/MessageWindow.h"

namespace tessaline::msim {
namespace {

std::atomic<long> g_locks{0};

class CClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is static: its references only keep the library loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { return ++g_locks; }
  ULONG STDMETHODCALLTYPE Release() override { return --g_locks; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    // The new object's first reference is the pointer's; the caller's comes from QueryInterface.
    win32::ComPtr<CSystemKeyboard> keyboard;
    keyboard.Attach(new (std::nothrow) CSystemKeyboard());
    if (!keyboard) return E_OUTOFMEMORY;
    return keyboard->QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++g_locks : --g_locks;
    return S_OK;
  }
};

CClassFactory g_factory;

std::wstring ClassKeyPath() {
  wchar_t clsid[64];
  StringFromGUID2(CLSID_SystemKeyboard, clsid, 64);
  return std::wstring(L"CLSID\\") + clsid;
}

LONG SetText(HKEY key, const wchar_t* name, const wchar_t* text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

}  // namespace
}  // namespace tessaline::msim

using namespace tessaline::msim;

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (clsid != CLSID_SystemKeyboard) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, object);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return g_liveObjects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer() {
  using tessaline::win32::RegKey;
  const std::wstring path = ClassKeyPath();
  RegKey classKey, server, marker;
  if (classKey.Create(HKEY_CLASSES_ROOT, path.c_str()) != ERROR_SUCCESS ||
      server.Create(classKey.Get(), L"InprocServer32") != ERROR_SUCCESS ||
      marker.Create(classKey.Get(), L"IsSIPInputMethod") != ERROR_SUCCESS) {
    return SELFREG_E_CLASS;
  }
  if (SetText(classKey.Get(), nullptr, kSystemKeyboardName) != ERROR_SUCCESS ||
      SetText(server.Get(), nullptr, kSystemKeyboardLibrary) != ERROR_SUCCESS ||
      SetText(server.Get(), L"ThreadingModel", L"Free") != ERROR_SUCCESS ||
      SetText(marker.Get(), nullptr, L"1") != ERROR_SUCCESS) {
    return SELFREG_E_CLASS;
  }
  return S_OK;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer() {
  const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyPath().c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary: the keypad's window class goes with the library, so that a later
    // load registers it again with its own window procedure.
    tessaline::win32::UnregisterWindowClasses();
  }
  return TRUE;
}
