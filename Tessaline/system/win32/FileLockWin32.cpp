#include <windows.h>

#include "system/FileLock.h"
#include "system/WideText.h"

namespace tessaline {
namespace {

class MutexLock : public FileLock {
 public:
  explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
  ~MutexLock() override {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  HANDLE mutex_;
};

}  // namespace

std::unique_ptr<FileLock> LockDataFile(const std::string& devicePath,
                                       unsigned timeoutMilliseconds) {
  const WideString name = AnsiToWide(DataFileLockName(devicePath));
  HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.c_str()));
  if (!mutex) return nullptr;
  // An abandoned mutex is ours: its holder ended, and the file it may have been replacing is
  // either the old one or the new one, never half of either.
  const DWORD waited = WaitForSingleObject(mutex, timeoutMilliseconds);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return nullptr;
  }
  return std::make_unique<MutexLock>(mutex);
}

}  // namespace tessaline
