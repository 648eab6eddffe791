// The class factory of TSInputM, the library's one class. It refuses aggregation and counts
// server locks for DllCanUnloadNow; it lives as long as the library and counts no references.
#pragma once

#include <unknwn.h>

namespace tessaline {

class TSInputMFactory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
};

TSInputMFactory& TheTSInputMFactory();

}  // namespace tessaline
