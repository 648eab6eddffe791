#include <windows.h>

#include <utility>

#include "system/FileLock.h"
#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline {
namespace {

class MutexLock : public FileLock {
 public:
  explicit MutexLock(win32::KernelHandle mutex) : mutex_(std::move(mutex)) {}
  ~MutexLock() override { ReleaseMutex(mutex_.Get()); }

 private:
  win32::KernelHandle mutex_;
};

}  // namespace

std::unique_ptr<FileLock> LockDataFile(const std::string& devicePath,
                                       unsigned timeoutMilliseconds) {
  const WideString name = AnsiToWide(DataFileLockName(devicePath));
  win32::KernelHandle mutex(
      CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.c_str())));
  if (!mutex) return nullptr;
  // An abandoned mutex is ours: its holder ended, and the file it may have been replacing is
  // either the old one or the new one, never half of either.
  const DWORD waited = WaitForSingleObject(mutex.Get(), timeoutMilliseconds);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return nullptr;
  return std::make_unique<MutexLock>(std::move(mutex));
}

}  // namespace tessaline
