#include "engine/UserFileSystem.h"

#include <cstdint>
#include <cstdio>

namespace tessaline {
namespace {

size_t& WriteLimit() {
  static size_t limit = SIZE_MAX;
  return limit;
}

class RealFiles : public UserFileSystem {
 public:
  DataFileStamp Stamp(const std::string& path) override { return StampOfDataFile(path); }
  DataFileRead Read(const std::string& path, std::string& bytes) override {
    return ReadWholeDataFile(path, bytes);
  }
  std::string TemporaryPath(const std::string& path) override { return TemporaryPathFor(path); }
  bool WriteTemporary(const std::string& temporary, const std::string& bytes) override {
    FILE* file = OpenDataFile(temporary, "wb");
    if (!file) return false;
    const size_t toWrite = bytes.size() < WriteLimit() ? bytes.size() : WriteLimit();
    bool written =
        std::fwrite(bytes.data(), 1, toWrite, file) == toWrite && toWrite == bytes.size();
    written = FlushToDisk(file) && written;
    written = std::fclose(file) == 0 && written;
    return written;
  }
  bool Replace(const std::string& temporary, const std::string& path) override {
    return ReplaceDataFile(temporary, path);
  }
  void Remove(const std::string& temporary) override {
    std::remove(HostPath(temporary).c_str());
  }
  std::unique_ptr<FileLock> Lock(const std::string& path, unsigned timeout) override {
    return LockDataFile(path, timeout);
  }
};

RealFiles& Real() {
  static RealFiles files;
  return files;
}

UserFileSystem*& Current() {
  static UserFileSystem* files = nullptr;
  return files;
}

}  // namespace

UserFileSystem& CurrentUserFileSystem() { return Current() ? *Current() : Real(); }

void SetUserDictionaryWriteLimit(size_t bytes) { WriteLimit() = bytes; }

bool WriteUserFileBytes(const std::string& path, const std::string& bytes) {
  UserFileSystem& files = CurrentUserFileSystem();
  const std::string temporary = files.TemporaryPath(path);
  if (files.WriteTemporary(temporary, bytes) && files.Replace(temporary, path)) return true;
  files.Remove(temporary);
  return false;
}

UserFileSystem* SetUserFileSystem(UserFileSystem* files) {
  UserFileSystem* previous = Current();
  Current() = files;
  return previous;
}

}  // namespace tessaline
