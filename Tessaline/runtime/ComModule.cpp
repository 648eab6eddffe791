#include "runtime/ComModule.h"

#include <oleauto.h>

#include <atomic>

#include "Tessaline_h.h"
#include "engine/UserDictionaryFile.h"
#include "win32/ComPtr.h"

namespace tessaline {
namespace {

HMODULE module = nullptr;
std::atomic<long> objects{0};
std::atomic<long> locks{0};

}  // namespace

void SetComModule(HMODULE m) { module = m; }
HMODULE ComModule() { return module ? module : GetModuleHandleW(nullptr); }

std::wstring ComModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(ComModule(), path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ComObjectCreated() { ++objects; }
void ComObjectDestroyed() { --objects; }
void ComLock(bool lock) { lock ? ++locks : --locks; }
// Edits of a user dictionary that could not be written yet live in the library's memory: it
// stays loaded until they are written.
bool ComCanUnload() { return objects == 0 && locks == 0 && !AnyUserEditsPending(); }
long ComObjectCount() { return objects; }

ITypeInfo* TSInputMTypeInfo() {
  // Objects of any thread may ask; the first load wins and the others release theirs.
  static std::atomic<ITypeInfo*> info{nullptr};
  if (ITypeInfo* known = info.load()) return known;
  win32::ComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(ComModulePath().c_str(), REGKIND_NONE, library.Put()))) return nullptr;
  win32::ComPtr<ITypeInfo> loaded;
  library->GetTypeInfoOfGuid(IID_ITSInputM, loaded.Put());
  if (!loaded) return nullptr;
  ITypeInfo* expected = nullptr;
  if (!info.compare_exchange_strong(expected, loaded.Get())) return expected;
  // The cache keeps this reference for the life of the library.
  return loaded.Detach();
}

}  // namespace tessaline
