#include <windows.h>

#include "system/DataFiles.h"
#include "system/FileSearch.h"
#include "win32/Handles.h"

namespace tessaline {

std::vector<WideString> FindFiles(const WideString& devicePattern) {
  std::vector<WideString> names;
  const WideString host = AnsiToWide(HostPath(WideToAnsi(devicePattern)));
  WIN32_FIND_DATAW data;
  const win32::FindFile find(
      FindFirstFileW(reinterpret_cast<const wchar_t*>(host.c_str()), &data));
  if (!find) return names;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    names.emplace_back(reinterpret_cast<const char16_t*>(data.cFileName));
  } while (FindNextFileW(find.Get(), &data));
  return names;
}

}  // namespace tessaline
