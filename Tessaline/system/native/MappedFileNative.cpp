#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "system/DataFiles.h"
#include "system/MappedFile.h"

namespace tessaline {
namespace {

class PosixMapping : public MappedFile {
 public:
  PosixMapping(void* address, size_t size) : address_(address), size_(size) {}
  ~PosixMapping() override {
    if (address_) munmap(address_, size_);
  }
  PosixMapping(const PosixMapping&) = delete;
  PosixMapping& operator=(const PosixMapping&) = delete;
  std::string_view Bytes() const override {
    return {static_cast<const char*>(address_), address_ ? size_ : 0};
  }

 private:
  void* address_;
  size_t size_;
};

}  // namespace

std::shared_ptr<const MappedFile> MapDataFile(const std::string& devicePath, MapOutcome* outcome) {
  MapOutcome ignored;
  MapOutcome& result = outcome ? *outcome : ignored;
  const int descriptor = open(HostPath(devicePath).c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    result = errno == ENOENT || errno == ENOTDIR ? MapOutcome::kMissing : MapOutcome::kUnreadable;
    return nullptr;
  }
  struct stat info {};
  std::shared_ptr<const MappedFile> mapping;
  result = MapOutcome::kUnreadable;
  if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
    const auto size = static_cast<size_t>(info.st_size);
    if (size == 0) {
      mapping = std::make_shared<PosixMapping>(nullptr, 0);
    } else {
      void* address = mmap(nullptr, size, PROT_READ, MAP_SHARED, descriptor, 0);
      if (address != MAP_FAILED) mapping = std::make_shared<PosixMapping>(address, size);
    }
    if (mapping) result = MapOutcome::kMapped;
  }
  close(descriptor);  // the mapping holds the file on its own
  return mapping;
}

}  // namespace tessaline
