#include "engine/UserFileSystem.h"

#include <cstdint>
#include <string_view>

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
    const size_t toWrite = bytes.size() < WriteLimit() ? bytes.size() : WriteLimit();
    const bool written =
        steps_.WriteTemporary(temporary, std::string_view(bytes).substr(0, toWrite));
    return written && toWrite == bytes.size();
  }
  bool Replace(const std::string& temporary, const std::string& path) override {
    return steps_.Replace(temporary, path);
  }
  void Remove(const std::string& temporary) override { steps_.Remove(temporary); }
  std::unique_ptr<FileLock> Lock(const std::string& path, unsigned timeout) override {
    return LockDataFile(path, timeout);
  }

 private:
  DataFileSteps steps_;
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
  return WriteThroughTemporary(files, path, files.TemporaryPath(path), bytes);
}

UserFileSystem* SetUserFileSystem(UserFileSystem* files) {
  UserFileSystem* previous = Current();
  Current() = files;
  return previous;
}

}  // namespace tessaline
