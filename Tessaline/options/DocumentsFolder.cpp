#include "options/DocumentsFolder.h"

#include <windows.h>
// The shell's folder lookup builds on <windows.h>.
#include <shlobj.h>

#include <utility>

namespace tessaline {
namespace {

constexpr int kPersonalFolder = 5;  // CSIDL_PERSONAL

DocumentsFolderSource& Source() {
  static DocumentsFolderSource source;
  return source;
}

}  // namespace

std::optional<WideString> DocumentsFolder() {
  if (Source()) return Source()();
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, kPersonalFolder, FALSE)) return std::nullopt;
  return WideString(reinterpret_cast<const char16_t*>(folder));
}

DocumentsFolderSource SetDocumentsFolderSource(DocumentsFolderSource source) {
  return std::exchange(Source(), std::move(source));
}

}  // namespace tessaline
