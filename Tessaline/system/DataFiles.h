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
