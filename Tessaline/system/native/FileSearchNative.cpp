#include <dirent.h>
#include <sys/stat.h>

#include "system/DataFiles.h"
#include "system/FileSearch.h"

namespace tessaline {

std::vector<WideString> FindFiles(const WideString& devicePattern) {
  std::vector<WideString> names;
  const std::string host = HostPath(WideToAnsi(devicePattern));
  const size_t slash = host.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : host.substr(0, slash + 1);
  const WideString pattern =
      AnsiToWide(slash == std::string::npos ? host : host.substr(slash + 1));
  DIR* dir = opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    if (stat((folder + "/" + name).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) continue;
    const WideString wide = AnsiToWide(name);
    if (WildcardMatch(pattern, wide)) names.push_back(wide);
  }
  closedir(dir);
  return names;
}

}  // namespace tessaline
