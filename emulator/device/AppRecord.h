// The device's record of an installed application, which its uninstaller follows: kept under
// HKEY_LOCAL_MACHINE\Software\Apps\<application name>, as the platform keeps its applications.
//
//   InstallDir   REG_SZ        the installation folder, a device path
//   Files        REG_MULTI_SZ  every file the installer put there, relative to the folder
//   SetupDll     REG_SZ        the setup hook library among them (may be absent)
//   SelfRegister REG_MULTI_SZ  the libraries among them that registered themselves
//
// Only what the installer put in place is recorded, so the uninstaller removes exactly that:
// files the application made later (the user's dictionaries) are not the installer's to remove.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessaline::emulator {

inline constexpr wchar_t kAppsKey[] = L"Software\\Apps";  // under HKEY_LOCAL_MACHINE

struct AppRecord {
  std::wstring installFolder;
  std::vector<std::wstring> files;
  std::wstring setupLibrary;
  std::vector<std::wstring> selfRegistering;
  bool operator==(const AppRecord&) const = default;
};

bool WriteAppRecord(const std::wstring& application, const AppRecord& record);

// Nothing when the application is not installed (no key, or no InstallDir text). A list value of
// another type reads as empty; one without its final terminators ends at its stored length.
std::optional<AppRecord> ReadAppRecord(const std::wstring& application);

void DeleteAppRecord(const std::wstring& application);

// A REG_MULTI_SZ value's bytes to its strings (empty strings left out, an odd last byte
// ignored), and back.
std::vector<std::wstring> SplitMultiString(const std::wstring& value);
std::wstring JoinMultiString(const std::vector<std::wstring>& strings);

}  // namespace tessaline::emulator
