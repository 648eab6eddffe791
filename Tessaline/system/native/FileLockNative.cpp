#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "system/DataFiles.h"
#include "system/FileLock.h"

namespace tessaline {
namespace {

class FlockLock : public FileLock {
 public:
  explicit FlockLock(int descriptor) : descriptor_(descriptor) {}
  ~FlockLock() override {
    flock(descriptor_, LOCK_UN);
    close(descriptor_);
  }
  FlockLock(const FlockLock&) = delete;
  FlockLock& operator=(const FlockLock&) = delete;

 private:
  int descriptor_;
};

}  // namespace

std::unique_ptr<FileLock> LockDataFile(const std::string& devicePath,
                                       unsigned timeoutMilliseconds) {
  // Beside the file, so that it goes with the folder; it is never removed, since another writer
  // may be waiting on it.
  const std::string path = HostPath(devicePath) + ".lock";
  const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) return nullptr;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
  for (;;) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) return std::make_unique<FlockLock>(descriptor);
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  close(descriptor);
  return nullptr;
}

}  // namespace tessaline
