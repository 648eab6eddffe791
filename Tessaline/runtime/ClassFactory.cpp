#include "runtime/ClassFactory.h"

#include <new>

#include "runtime/ComModule.h"
#include "runtime/TSInputM.h"
#include "win32/ComPtr.h"

namespace tessaline {

HRESULT TSInputMFactory::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TSInputMFactory::AddRef() { return 2; }
ULONG TSInputMFactory::Release() { return 1; }

HRESULT TSInputMFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  // The new object's first reference is the pointer's; the caller's comes from QueryInterface.
  win32::ComPtr<TSInputM> instance;
  instance.Attach(new (std::nothrow) TSInputM);
  if (!instance) return E_OUTOFMEMORY;
  return instance->QueryInterface(iid, object);
}

HRESULT TSInputMFactory::LockServer(BOOL lock) {
  ComLock(lock != FALSE);
  return S_OK;
}

TSInputMFactory& TheTSInputMFactory() {
  static TSInputMFactory factory;
  return factory;
}

}  // namespace tessaline
