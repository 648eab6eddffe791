#include "device/DevicePaths.h"

#include <windows.h>

#include <algorithm>

#include "win32/Handles.h"

namespace tessaline::emulator {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

void CollectFiles(const std::wstring& folder, const std::wstring& prefix,
                  std::vector<std::wstring>& files) {
  WIN32_FIND_DATAW found{};
  const win32::FindFile search(FindFirstFileW(JoinPath(folder, L"*").c_str(), &found));
  if (!search) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring relative = prefix.empty() ? name : prefix + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CollectFiles(JoinPath(folder, name), relative, files);
    } else {
      files.push_back(relative);
    }
  } while (FindNextFileW(search.Get(), &found));
}

}  // namespace

std::wstring HostPath(const std::wstring& devicePath) {
  const bool rooted = !devicePath.empty() && IsSeparator(devicePath[0]);
  const bool share = devicePath.size() > 1 && rooted && IsSeparator(devicePath[1]);
  if (!rooted || share) return devicePath;
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring drive =
      length >= 2 && windows[1] == L':' ? std::wstring(windows, 2) : std::wstring(L"C:");
  return drive + devicePath;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

std::wstring ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) break;
    path.resize(path.size() * 2);
  }
  std::wstring program(path.data());
  const size_t slash = program.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : program.substr(0, slash);
}

bool SameFileStamp(const std::wstring& a, const std::wstring& b) {
  WIN32_FILE_ATTRIBUTE_DATA first{}, second{};
  if (!GetFileAttributesExW(a.c_str(), GetFileExInfoStandard, &first) ||
      !GetFileAttributesExW(b.c_str(), GetFileExInfoStandard, &second)) {
    return false;
  }
  return first.nFileSizeLow == second.nFileSizeLow && first.nFileSizeHigh == second.nFileSizeHigh &&
         CompareFileTime(&first.ftLastWriteTime, &second.ftLastWriteTime) == 0;
}

bool IsPlainRelativePath(const std::wstring& path) {
  if (path.empty() || IsSeparator(path[0]) || path.find(L':') != std::wstring::npos) return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::wstring part = path.substr(start, end - start);
    if (part.empty() || part == L"." || part == L"..") return false;
    start = end + 1;
  }
  return true;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& relative) {
  if (folder.empty()) return relative;
  return IsSeparator(folder.back()) ? folder + relative : folder + L"\\" + relative;
}

std::vector<std::wstring> FilesBelow(const std::wstring& folder) {
  std::vector<std::wstring> files;
  CollectFiles(folder, L"", files);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace tessaline::emulator
