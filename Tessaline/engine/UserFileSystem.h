// The file system as the writers of the user's files see it: stamps, whole reads, temporary files
// of a writer's own put in place in one step, and the writers' lock. One seam, so that tests can
// put a model of a file system in its place and fail any step of a write.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "system/DataFiles.h"
#include "system/FileLock.h"

namespace tessaline {

// The file system as the writers see it; tests put a model of one in its place.
class UserFileSystem {
 public:
  virtual ~UserFileSystem() = default;
  virtual DataFileStamp Stamp(const std::string& path) = 0;
  virtual DataFileRead Read(const std::string& path, std::string& bytes) = 0;
  // A temporary path beside `path` that no other writer uses.
  virtual std::string TemporaryPath(const std::string& path) = 0;
  // Creates `temporary`, writes the bytes, flushes them to the disk and closes it: false at the
  // first step that fails.
  virtual bool WriteTemporary(const std::string& temporary, const std::string& bytes) = 0;
  // Puts `temporary` in the place of `path` in one step; false leaves `path` as it was.
  virtual bool Replace(const std::string& temporary, const std::string& path) = 0;
  virtual void Remove(const std::string& temporary) = 0;
  // The writers' lock of `path`, held while the result lives; nullptr when it could not be had.
  virtual std::unique_ptr<FileLock> Lock(const std::string& path, unsigned timeoutMilliseconds) = 0;
};

// The real one; SetUserFileSystem(nullptr) puts it back. Returns the one it replaces.
UserFileSystem* SetUserFileSystem(UserFileSystem* files);
// The one in use.
UserFileSystem& CurrentUserFileSystem();

// Writes the whole file through a temporary file of this writer's own that takes its place once
// complete and flushed; false leaves the file as it was.
bool WriteUserFileBytes(const std::string& path, const std::string& bytes);

// Test seam: makes every later save stop after writing this many bytes of the temporary file,
// as a full disk would; SIZE_MAX (the default) writes normally.
void SetUserDictionaryWriteLimit(size_t bytes);

}  // namespace tessaline
