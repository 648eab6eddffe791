#include "system/FileLock.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "system/DataFiles.h"

namespace tessaline {

std::string DataFileLockName(const std::string& devicePath) {
  uint64_t hash = 14695981039346656037ull;
  for (char ch : HostPath(devicePath)) {
    if (ch == '\\') ch = '/';
    hash ^= static_cast<uint8_t>(std::tolower(static_cast<unsigned char>(ch)));
    hash *= 1099511628211ull;
  }
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return std::string("Tessaline.lock.") + digits;
}

}  // namespace tessaline
