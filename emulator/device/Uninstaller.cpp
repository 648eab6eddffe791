#include "device/Uninstaller.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <set>

#include "device/AppRecord.h"
#include "device/DevicePaths.h"
#include "device/Installer.h"
#include "device/SetupLibrary.h"
#include "platform/DeviceRecord.h"
#include "platform/DeviceServices.h"
#include "platform/DeviceState.h"
#include "system/WideText.h"

namespace tessaline::emulator {
namespace {

// How many soft resets this process has asked for so far.
size_t ResetRequestsMade() {
  wchar_t reboot[16];
  swprintf(reboot, 16, L"0x%08lX", static_cast<unsigned long>(IOCTL_HAL_REBOOT));
  const auto calls = device::RecordedCalls(GetCurrentProcess());
  return static_cast<size_t>(std::count_if(calls.begin(), calls.end(), [&](const auto& call) {
    return call.name == L"KernelIoControl" && call.argument == reboot;
  }));
}

bool SamePathNoCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

// The folders between the installation folder and each file, deepest first, then the folder.
std::vector<std::wstring> FoldersOf(const std::vector<std::wstring>& files) {
  std::set<std::wstring> folders;
  for (const std::wstring& file : files) {
    for (size_t slash = file.find(L'\\'); slash != std::wstring::npos;
         slash = file.find(L'\\', slash + 1)) {
      folders.insert(file.substr(0, slash));
    }
  }
  std::vector<std::wstring> ordered(folders.begin(), folders.end());
  std::sort(ordered.begin(), ordered.end(), [](const std::wstring& a, const std::wstring& b) {
    return std::count(a.begin(), a.end(), L'\\') > std::count(b.begin(), b.end(), L'\\');
  });
  return ordered;
}

}  // namespace

std::wstring ApplicationFromArguments(const std::wstring& arguments) {
  const size_t first = arguments.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  std::wstring name = arguments.substr(first, arguments.find_last_not_of(L" \t") - first + 1);
  if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"') {
    name = name.substr(1, name.size() - 2);
  }
  return name;
}

int RunUninstaller(const std::wstring& application, const SetupHost& host) {
  const std::string name = WideToUtf8(application);
  const auto record = ReadAppRecord(application);
  if (!record) {
    host.Say("unload: " + name + " is not installed");
    return kSetupFailed;
  }
  const std::wstring folder = HostPath(record->installFolder);
  // Only paths inside the installation folder are the application's; the registry could say
  // anything.
  std::vector<std::wstring> files;
  for (const std::wstring& file : record->files) {
    if (IsPlainRelativePath(file)) {
      files.push_back(file);
    } else {
      host.Say("unload: left out the recorded path '" + WideToUtf8(file) +
               "', which is not inside the installation folder");
    }
  }

  SetupLibrary setup;
  const bool hasSetupLibrary =
      IsPlainRelativePath(record->setupLibrary) &&
      std::any_of(files.begin(), files.end(), [&](const std::wstring& file) {
        return SamePathNoCase(file, record->setupLibrary);
      });
  if (hasSetupLibrary) {
    std::wstring error;
    if (setup.Load(JoinPath(folder, record->setupLibrary), error)) {
      if (host.answer) setup.AnswerMessages(*host.answer, host.output);
    } else {
      host.Say("unload: " + WideToUtf8(error) + "; removing without it");
    }
  }

  const size_t resetsBefore = ResetRequestsMade();
  if (setup.UninstallInit(host.owner, record->installFolder) == codeUNINSTALL_INIT_CANCEL) {
    host.Say("unload: the setup library cancelled the removal of " + name);
    return kSetupFailed;
  }
  // On a device the reset ends this program at once; here it ends by itself, before it removes
  // anything the restarted device is to remove.
  if (ResetRequestsMade() > resetsBefore || device::SoftResetRequested()) {
    host.Say("unload: the device restarts; the removal of " + name + " goes on after the reset");
    return kSetupDone;
  }

  for (const std::wstring& library : record->selfRegistering) {
    if (!IsPlainRelativePath(library)) continue;
    const HRESULT result = UnregisterLibrary(JoinPath(folder, library));
    if (FAILED(result)) {
      char code[16];
      std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
      host.Say("unload: " + WideToUtf8(library) + " did not unregister (" + code + ")");
    }
  }

  std::vector<std::wstring> kept;
  for (const std::wstring& file : files) {
    if (hasSetupLibrary && SamePathNoCase(file, record->setupLibrary)) continue;
    const std::wstring path = JoinPath(folder, file);
    if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
        GetLastError() != ERROR_PATH_NOT_FOUND) {
      kept.push_back(file);
    }
  }
  setup.UninstallExit(host.owner);
  setup.Unload();
  if (hasSetupLibrary) {
    const std::wstring path = JoinPath(folder, record->setupLibrary);
    if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
      kept.push_back(record->setupLibrary);
    }
  }

  // Folders go when nothing is left in them; one that still holds the user's files stays.
  for (const std::wstring& sub : FoldersOf(files)) RemoveDirectoryW(JoinPath(folder, sub).c_str());
  RemoveDirectoryW(folder.c_str());
  DeleteAppRecord(application);

  if (!kept.empty()) {
    std::string list;
    for (const std::wstring& file : kept) list += (list.empty() ? "" : ", ") + WideToUtf8(file);
    host.Say("unload: " + name + " removed, but these files are in use and stay: " + list);
    return kSetupFailed;
  }
  const bool folderLeft = GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
  host.Say("unload: " + name + " removed" +
           (folderLeft
                ? "; the files it did not install stay in " + WideToUtf8(record->installFolder)
                : std::string()));
  return kSetupDone;
}

}  // namespace tessaline::emulator
