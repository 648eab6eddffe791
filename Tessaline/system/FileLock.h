// The lock that every writer of a file the user owns takes, in any process, before it reads the
// file to merge its edits and replaces it.
//
// Under Win32 it is a named kernel mutex, "Tessaline.lock.<16 hex digits>": the digits are a
// hash (FNV-1a, 64 bits) of the file's host path in lower case, so every process that reaches the
// same file by the same path takes the same mutex. Natively it is an exclusive flock() on the file
// beside it with ".lock" added to its name. A process that ends while it holds the lock
// gives it up (an abandoned mutex, a closed descriptor).
#pragma once

#include <memory>
#include <string>

namespace tessaline {

class FileLock {
 public:
  virtual ~FileLock() = default;
};

// Waits at most `timeoutMilliseconds` for the lock of the file (a device path); nullptr when it
// could not be had in that time or at all.
std::unique_ptr<FileLock> LockDataFile(const std::string& devicePath,
                                       unsigned timeoutMilliseconds);

// The name of the lock of the file (a device path): the mutex's under Win32.
std::string DataFileLockName(const std::string& devicePath);

}  // namespace tessaline
