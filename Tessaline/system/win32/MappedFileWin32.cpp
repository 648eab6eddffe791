#include <windows.h>

#include "system/DataFiles.h"
#include "system/MappedFile.h"
#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline {
namespace {

class ViewMapping : public MappedFile {
 public:
  // The file stays open, sharing only reading, for as long as its view is mapped.
  ViewMapping(win32::KernelHandle file, win32::KernelHandle section, const void* view, size_t size)
      : file_(std::move(file)), section_(std::move(section)), view_(view), size_(size) {}
  ~ViewMapping() override {
    if (view_) UnmapViewOfFile(view_);
  }
  ViewMapping(const ViewMapping&) = delete;
  ViewMapping& operator=(const ViewMapping&) = delete;
  std::string_view Bytes() const override {
    return {static_cast<const char*>(view_), view_ ? size_ : 0};
  }

 private:
  win32::KernelHandle file_;
  win32::KernelHandle section_;
  const void* view_;
  size_t size_;
};

}  // namespace

std::shared_ptr<const MappedFile> MapDataFile(const std::string& devicePath, MapOutcome* outcome) {
  MapOutcome ignored;
  MapOutcome& result = outcome ? *outcome : ignored;
  const WideString path = AnsiToWide(HostPath(devicePath));
  win32::KernelHandle file(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()),
                                       GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    result = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                 ? MapOutcome::kMissing
                 : MapOutcome::kUnreadable;
    return nullptr;
  }
  result = MapOutcome::kUnreadable;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<uint64_t>(size.QuadPart) > SIZE_MAX / 2) {
    return nullptr;
  }
  if (size.QuadPart == 0) {  // an empty file cannot be mapped; it holds nothing to map
    result = MapOutcome::kMapped;
    return std::make_shared<ViewMapping>(std::move(file), win32::KernelHandle(), nullptr, 0);
  }
  win32::KernelHandle section(
      CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!section) return nullptr;
  const void* view = MapViewOfFile(section.Get(), FILE_MAP_READ, 0, 0, 0);
  if (!view) return nullptr;
  result = MapOutcome::kMapped;
  return std::make_shared<ViewMapping>(std::move(file), std::move(section), view,
                                       static_cast<size_t>(size.QuadPart));
}

}  // namespace tessaline
