// Enumerating the files of a folder that match a wildcard, as FindFirstFileW does.
#pragma once

#include <string>
#include <vector>

#include "system/WideText.h"

namespace tessaline {

// The names (without folder) of the files that match the pattern, a device path whose last part
// may hold "*" and "?" ("\Program files\Tessaline\Languages\*.chr"), in the order in which the
// file system returns them. Matching ignores ASCII letter case, as on Windows. Folders are not
// returned. No folder, or no match, gives an empty list.
std::vector<WideString> FindFiles(const WideString& devicePattern);

// Wildcard match of a whole name ("*" any run, "?" one character), ignoring ASCII letter case.
bool WildcardMatch(WideView pattern, WideView name);

}  // namespace tessaline
