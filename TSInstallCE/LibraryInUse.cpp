#include "LibraryInUse.h"

#include <windows.h>

#include "Product.h"
#include "settings/RegistryPath.h"
#include "win32/Handles.h"

namespace tessaline::setup {
namespace {

// CreateFileW with the access and sharing of the C runtime's fopen, but never creating the file:
// a library removed between the two opens must not come back as an empty file.
bool Opens(const std::wstring& path, DWORD access) {
  const win32::KernelHandle file(CreateFileW(path.c_str(), access,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

}  // namespace

std::wstring InputMethodLibraryPath() {
  const std::wstring value = std::wstring(kInputMethodClassKey) + L"\\InprocServer32\\";
  WideString path;
  ReadRegistryText(HKEY_CLASSES_ROOT, reinterpret_cast<const char16_t*>(value.c_str()), path);
  return std::wstring(path.begin(), path.end());
}

bool IsLibraryInUse(const std::wstring& path) {
  if (path.empty() || !Opens(path, GENERIC_READ)) return false;
  // Appending needs write access, which a mapped library's file refuses.
  if (Opens(path, GENERIC_WRITE)) return false;
  // Gone between the two opens: nothing is left to be in use.
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tessaline::setup
