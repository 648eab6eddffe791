#include "system/DataFiles.h"

#include <cstdlib>

namespace tessaline {
namespace {

std::string& RootOverride() {
  static std::string root;
  return root;
}

bool IsDeviceRooted(const std::string& path) {
  // "\x" is rooted on the device; "\\server" and "C:\x" are already host paths.
  return path.size() >= 1 && path[0] == '\\' && !(path.size() >= 2 && path[1] == '\\');
}

}  // namespace

void SetDeviceRoot(const std::string& root) { RootOverride() = root; }

std::string DeviceRoot() {
  if (!RootOverride().empty()) return RootOverride();
  if (const char* env = std::getenv("TESSALINE_DEVICE_ROOT"); env && *env) return env;
#ifdef _WIN32
  return "C:";
#else
  return ".";
#endif
}

std::string HostPath(const std::string& devicePath) {
  std::string path = devicePath;
  if (IsDeviceRooted(path)) {
    std::string root = DeviceRoot();
    while (!root.empty() && (root.back() == '\\' || root.back() == '/')) root.pop_back();
    path = root + path;
  }
#ifndef _WIN32
  for (char& ch : path) {
    if (ch == '\\') ch = '/';
  }
#endif
  return path;
}

FILE* OpenDataFile(const std::string& devicePath, const char* mode) {
  return std::fopen(HostPath(devicePath).c_str(), mode);
}

}  // namespace tessaline
