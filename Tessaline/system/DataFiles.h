// Opening data files by their path on the device.
//
// Paths inside the system have the device's form ("\Program files\Tessaline\Languages\x.chr").
// This is the one place that maps them to a file of the machine the build runs on:
//  - a path rooted at a single backslash is placed under the device root;
//  - on the native build, backslashes become slashes.
// The device root comes from the environment variable TESSALINE_DEVICE_ROOT; without it, it is
// "C:" under Win32 (so "\Program files\Tessaline" is "C:\Program files\Tessaline", also under
// Wine) and the current directory on the native build. Tests set their own root.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tessaline {

std::string HostPath(const std::string& devicePath);

// fopen on the host path. Returns nullptr when the file does not open.
FILE* OpenDataFile(const std::string& devicePath, const char* mode);

// Puts the file `from` in the place of the file `to` (both device paths) in one step, replacing
// `to` when it exists: MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH under
// Win32, rename natively. Used to rewrite a file the user owns through a temporary file beside
// it. False when it fails; `to` is then unchanged.
bool ReplaceDataFile(const std::string& from, const std::string& to);

// Writes what the file's buffer holds and waits until the system has it on the disk, so that a
// temporary file is whole before it takes the place of the one it replaces. False on failure.
bool FlushToDisk(FILE* file);

// Creates the file anew (or empties it), writes the bytes, flushes them to the disk and closes
// it. False at the first step that fails.
bool WriteDataFileBytes(const std::string& devicePath, std::string_view bytes);

// Rewrites a file whole through a temporary file: the bytes go to `temporary`, which takes the
// place of `path` only once it is complete and on the disk, so that a failed write leaves an
// earlier file as it was; a temporary file left by a failure is removed. False on failure.
// The steps are the writer's own: `files` has WriteTemporary(temporary, bytes),
// Replace(temporary, path) and Remove(temporary), as DataFileSteps below.
template <class Files, class Bytes>
bool WriteThroughTemporary(Files& files, const std::string& path, const std::string& temporary,
                           const Bytes& bytes) {
  if (files.WriteTemporary(temporary, bytes) && files.Replace(temporary, path)) return true;
  files.Remove(temporary);
  return false;
}

// The steps on the files themselves.
struct DataFileSteps {
  bool WriteTemporary(const std::string& temporary, std::string_view bytes) {
    return WriteDataFileBytes(temporary, bytes);
  }
  bool Replace(const std::string& temporary, const std::string& path);
  void Remove(const std::string& temporary);
};

// WriteThroughTemporary on the files themselves.
bool WriteDataFileWhole(const std::string& path, std::string_view bytes,
                        const std::string& temporary);

// What tells one version of a file from another without reading it: its size, its last write
// time and the file itself (a file put in another's place by ReplaceDataFile is another file,
// even when written within the same tick of the clock). A missing file has a stamp too.
struct DataFileStamp {
  bool exists = false;
  uint64_t size = 0;
  uint64_t writeTime = 0;
  uint64_t identity = 0;
  uint64_t volume = 0;
  bool operator==(const DataFileStamp&) const = default;
};
// A file that is there but cannot be looked at (held open without sharing by another program,
// no permission) has a stamp that exists with everything else 0: it is not a missing file.
DataFileStamp StampOfDataFile(const std::string& devicePath);

// Reads the whole file. A file that is not there is kMissing; one that is there but cannot be
// opened or read to its end (held by another program, no permission, a read error) is
// kUnreadable, which is never the same as empty.
enum class DataFileRead { kRead, kMissing, kUnreadable };
DataFileRead ReadWholeDataFile(const std::string& devicePath, std::string& bytes);

// A temporary file's path beside `devicePath` that no other writer uses: the process's id and a
// count of this process ("English.usr.1234-5.tmp").
std::string TemporaryPathFor(const std::string& devicePath);

// Replaces the device root for this process; an empty text restores the default.
void SetDeviceRoot(const std::string& root);
std::string DeviceRoot();

}  // namespace tessaline
