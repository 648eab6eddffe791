#include "system/DataFiles.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "system/WideText.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "win32/Handles.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

bool FlushToDisk(FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

bool ReplaceDataFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  const WideString source = AnsiToWide(HostPath(from));
  const WideString target = AnsiToWide(HostPath(to));
  return MoveFileExW(reinterpret_cast<const wchar_t*>(source.c_str()),
                     reinterpret_cast<const wchar_t*>(target.c_str()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(HostPath(from).c_str(), HostPath(to).c_str()) == 0;
#endif
}

bool WriteDataFileBytes(const std::string& devicePath, std::string_view bytes) {
  FILE* file = OpenDataFile(devicePath, "wb");
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = FlushToDisk(file) && written;
  written = std::fclose(file) == 0 && written;
  return written;
}

bool DataFileSteps::Replace(const std::string& temporary, const std::string& path) {
  return ReplaceDataFile(temporary, path);
}

void DataFileSteps::Remove(const std::string& temporary) {
  std::remove(HostPath(temporary).c_str());
}

bool WriteDataFileWhole(const std::string& path, std::string_view bytes,
                        const std::string& temporary) {
  DataFileSteps files;
  return WriteThroughTemporary(files, path, temporary, bytes);
}

DataFileStamp StampOfDataFile(const std::string& devicePath) {
  DataFileStamp stamp;
#ifdef _WIN32
  const WideString path = AnsiToWide(HostPath(devicePath));
  const win32::KernelHandle file(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), 0,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                 FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                             nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    stamp.exists = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    return stamp;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileInformationByHandle(file.Get(), &info)) {
    stamp.exists = true;
    stamp.size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    stamp.writeTime =
        (uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) | info.ftLastWriteTime.dwLowDateTime;
    stamp.identity = (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    stamp.volume = info.dwVolumeSerialNumber;
  }
#else
  struct stat info {};
  if (stat(HostPath(devicePath).c_str(), &info) != 0) {
    stamp.exists = errno != ENOENT && errno != ENOTDIR;
    return stamp;
  }
  stamp.exists = true;
  stamp.size = static_cast<uint64_t>(info.st_size);
  stamp.writeTime = static_cast<uint64_t>(info.st_mtim.tv_sec) * 1000000000u +
                    static_cast<uint64_t>(info.st_mtim.tv_nsec);
  stamp.identity = static_cast<uint64_t>(info.st_ino);
  stamp.volume = static_cast<uint64_t>(info.st_dev);
#endif
  return stamp;
}

DataFileRead ReadWholeDataFile(const std::string& devicePath, std::string& bytes) {
  bytes.clear();
#ifdef _WIN32
  const WideString path = AnsiToWide(HostPath(devicePath));
  const win32::KernelHandle file(CreateFileW(
      reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? DataFileRead::kMissing
               : DataFileRead::kUnreadable;
  }
  bool whole = true;
  char chunk[16384];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) {
      whole = false;
      break;
    }
    if (got == 0) break;
    bytes.append(chunk, got);
  }
#else
  const int file = open(HostPath(devicePath).c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) {
    return errno == ENOENT || errno == ENOTDIR ? DataFileRead::kMissing
                                               : DataFileRead::kUnreadable;
  }
  bool whole = true;
  char chunk[16384];
  for (;;) {
    const ssize_t got = read(file, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      whole = false;
      break;
    }
    if (got == 0) break;
    bytes.append(chunk, static_cast<size_t>(got));
  }
  close(file);
#endif
  if (!whole) {
    bytes.clear();
    return DataFileRead::kUnreadable;
  }
  return DataFileRead::kRead;
}

std::string TemporaryPathFor(const std::string& devicePath) {
  static std::atomic<unsigned> count{0};
#ifdef _WIN32
  const unsigned long process = GetCurrentProcessId();
#else
  const unsigned long process = static_cast<unsigned long>(getpid());
#endif
  return devicePath + "." + std::to_string(process) + "-" + std::to_string(++count) + ".tmp";
}

}  // namespace tessaline
