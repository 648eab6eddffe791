// The device's own paths on the emulated device. A device has one file system whose root is
// "\": "\Program files\Tessaline\TSSelect.exe" in a launch slot, "\Program files\Tessaline" as
// the installation folder. The emulated device keeps it on the system drive of its prefix (C:),
// so a device path gets that drive in front before Win32 opens it.
#pragma once

#include <string>
#include <vector>

namespace tessaline::emulator {

// "\Program files\X" → "C:\Program files\X". A path that names a drive or a share, and a relative
// path, is left as it is.
std::wstring HostPath(const std::wstring& devicePath);

// The device's system folder (C:\windows\system32 of the prefix), where its system libraries and
// programs lie.
std::wstring SystemFolder();

// The folder of the running program.
std::wstring ProgramFolder();

// True when both files exist with the same size and the same time of last writing: a copy that
// is already in place need not be made again.
bool SameFileStamp(const std::wstring& a, const std::wstring& b);

// True for a path relative to a folder that cannot leave it: not empty, no drive, no leading
// backslash, no "." or ".." part. The uninstaller deletes only such paths below the folder it
// recorded, whatever the registry holds.
bool IsPlainRelativePath(const std::wstring& path);

// `folder` + "\" + `relative`.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& relative);

// Every file below `folder`, as paths relative to it, sorted; folders themselves are not listed.
std::vector<std::wstring> FilesBelow(const std::wstring& folder);

}  // namespace tessaline::emulator
