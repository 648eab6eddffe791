// Whether the input method's library is still loaded somewhere, tested as the platform allows:
// a file that opens for reading but not for appending is in use (a loaded library's file cannot
// be written while it is mapped).
#pragma once

#include <string>

namespace tessaline::setup {

// The default value of the class's InprocServer32 key, read whole; empty when the key is
// missing or the value is not a string.
std::wstring InputMethodLibraryPath();

// False for an empty path, a file that does not open for reading (it is missing), and a file
// that opens for appending.
bool IsLibraryInUse(const std::wstring& path);

}  // namespace tessaline::setup
