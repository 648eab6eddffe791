#include "device/Installer.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

#include "device/AppRecord.h"
#include "device/DevicePaths.h"
#include "device/Package.h"
#include "device/SetupLibrary.h"
#include "system/WideText.h"

namespace tessaline::emulator {
namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& end) {
  if (text.size() < end.size()) return false;
  return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                    [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

bool SameNameNoCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && EndsWithNoCase(a, b);
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every folder on the way to the file, made when missing.
bool MakeFoldersFor(const std::wstring& file) {
  for (size_t slash = file.find(L'\\', 3); slash != std::wstring::npos;
       slash = file.find(L'\\', slash + 1)) {
    const std::wstring folder = file.substr(0, slash);
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
  }
  return true;
}

std::string Hex(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
  return text;
}

}  // namespace

bool PlaceUninstaller(const std::wstring& programs, std::wstring& error) {
  const std::wstring ours = JoinPath(programs, kUninstallerProgram);
  const std::wstring installed = JoinPath(SystemFolder(), kUninstallerProgram);
  if (!Exists(ours)) {
    error = L"the platform's uninstaller " + ours + L" is missing";
    return false;
  }
  if (SameFileStamp(ours, installed)) return true;
  if (!CopyFileW(ours.c_str(), installed.c_str(), FALSE)) {
    error = L"cannot copy " + ours + L" to " + installed;
    return false;
  }
  return true;
}

int RunInstaller(const InstallerOptions& options) {
  const SetupHost& host = options.host;
  const std::vector<std::wstring> files = FilesBelow(options.package);
  if (files.empty()) {
    host.Say("install: the package " + WideToUtf8(options.package) + " holds no files");
    return kSetupFailed;
  }
  const bool hasSetupLibrary =
      std::any_of(files.begin(), files.end(),
                  [](const std::wstring& file) { return SameNameNoCase(file, kSetupLibrary); });

  // The hooks run from the package, before anything is in place.
  SetupLibrary setup;
  if (hasSetupLibrary) {
    std::wstring error;
    if (!setup.Load(JoinPath(options.package, kSetupLibrary), error)) {
      host.Say("install: " + WideToUtf8(error));
      return kSetupFailed;
    }
    if (host.answer) setup.AnswerMessages(*host.answer, host.output);
  }
  const bool previouslyInstalled = ReadAppRecord(kApplicationName).has_value();
  if (setup.InstallInit(host.owner, previouslyInstalled, kInstallFolder) ==
      codeINSTALL_INIT_CANCEL) {
    host.Say("install: the setup library refused the installation; nothing was installed");
    return kSetupFailed;
  }

  const std::wstring folder = HostPath(kInstallFolder);
  AppRecord record;
  record.installFolder = kInstallFolder;
  WORD failed = 0;
  for (const std::wstring& file : files) {
    const std::wstring target = JoinPath(folder, file);
    // The user's words outlive an installation: a dictionary already there stays as it is.
    if (EndsWithNoCase(file, L".usr") && Exists(target)) continue;
    if (!MakeFoldersFor(target) ||
        !CopyFileW(JoinPath(options.package, file).c_str(), target.c_str(), FALSE)) {
      host.Say("install: cannot copy " + WideToUtf8(file) + " to " + WideToUtf8(target));
      ++failed;
      continue;
    }
    record.files.push_back(file);
    if (SameNameNoCase(file, kSetupLibrary)) record.setupLibrary = file;
  }

  if (!options.programs.empty()) {
    std::wstring error;
    if (!PlaceUninstaller(options.programs, error)) host.Say("install: " + WideToUtf8(error));
  }

  const bool libraryCopied = std::any_of(
      record.files.begin(), record.files.end(),
      [](const std::wstring& file) { return SameNameNoCase(file, kSelfRegisteringLibrary); });
  if (libraryCopied) {
    const HRESULT registered = RegisterLibrary(JoinPath(folder, kSelfRegisteringLibrary));
    if (SUCCEEDED(registered)) {
      record.selfRegistering.push_back(kSelfRegisteringLibrary);
    } else {
      host.Say("install: " + WideToUtf8(kSelfRegisteringLibrary) + " did not register (" +
               Hex(registered) + ")");
      ++failed;
    }
  }
  if (!WriteAppRecord(kApplicationName, record)) {
    host.Say("install: cannot record the application for its removal");
  }

  setup.InstallExit(host.owner, kInstallFolder, failed);
  if (failed > 0) {
    host.Say("install: " + WideToUtf8(kApplicationName) + " installed into " +
             WideToUtf8(kInstallFolder) + ", but " + std::to_string(failed) + " of " +
             std::to_string(files.size()) + " files failed");
    return kSetupFailed;
  }
  host.Say("install: " + WideToUtf8(kApplicationName) + " installed into " +
           WideToUtf8(kInstallFolder) + " (" + std::to_string(record.files.size()) + " files)");
  return kSetupDone;
}

}  // namespace tessaline::emulator
