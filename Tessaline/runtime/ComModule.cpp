#include "runtime/ComModule.h"

#include <oleauto.h>

#include <atomic>

#include "Tessaline_h.h"
#include "engine/UserDictionaryFile.h"

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
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(ComModulePath().c_str(), REGKIND_NONE, &library))) return nullptr;
  ITypeInfo* loaded = nullptr;
  library->GetTypeInfoOfGuid(IID_ITSInputM, &loaded);
  library->Release();
  if (!loaded) return nullptr;
  ITypeInfo* expected = nullptr;
  if (!info.compare_exchange_strong(expected, loaded)) {
    loaded->Release();
    return expected;
  }
  return loaded;
}

}  // namespace tessaline
