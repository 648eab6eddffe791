#include "CleanDevice.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../platform/DeviceFixture.h"
#include "device/AppRecord.h"
#include "device/DevicePaths.h"
#include "device/Package.h"
#include "platform/DeviceState.h"
#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline::emulator::testing {
namespace {

const wchar_t* const kProductKeys[] = {
    kInputMethodClassKey,    L"Tessaline.TSInputM",
    L"Tessaline.TSInputM.1", L"AppID\\{75EE3702-4D8E-416A-96AB-F736052FE084}",
    L"AppID\\Tessaline.DLL", L"TypeLib\\{793AF27C-9A12-4C8F-AC9C-05CAA5D0C6BC}",
};

void DeleteTree(HKEY root, const std::wstring& path) {
  RegDeleteTreeW(root, path.c_str());
  RegDeleteKeyW(root, path.c_str());
}

}  // namespace

void WipeProduct() {
  for (const wchar_t* key : kProductKeys) DeleteTree(HKEY_CLASSES_ROOT, key);
  DeleteTree(HKEY_LOCAL_MACHINE, std::wstring(kAppsKey) + L"\\" + kApplicationName);
  if (win32::RegKey init; init.Open(HKEY_LOCAL_MACHINE, L"init", KEY_SET_VALUE) == ERROR_SUCCESS) {
    for (int slot = 71; slot <= 78; ++slot) {
      RegDeleteValueW(init.Get(), (L"Launch" + std::to_wstring(slot)).c_str());
    }
  }
  // The whole device state (this device is the suite's own), and the user's choice.
  DeleteTree(HKEY_LOCAL_MACHINE, device::kDeviceKey);
  if (win32::RegKey sip; sip.Open(HKEY_CURRENT_USER, device::kSipKey, KEY_SET_VALUE) ==
                         ERROR_SUCCESS) {
    RegDeleteValueW(sip.Get(), device::kDefaultImValue);
  }
  std::error_code ignored;
  std::filesystem::remove_all(InstallFolder(), ignored);
  DeleteFileW(JoinPath(SystemFolder(), kUninstallerProgram).c_str());
}

std::wstring EmulatorFolder() {
  return tessaline::testing::TestProgramFolder() + L"\\..\\..\\emulator";
}

std::wstring PackageFolder() { return EmulatorFolder() + L"\\package"; }

std::wstring InstallFolder() { return HostPath(kInstallFolder); }

std::vector<std::string> Files(const std::wstring& folder) {
  std::vector<std::string> files;
  for (const std::wstring& file : FilesBelow(folder)) files.push_back(WideToUtf8(file));
  return files;
}

std::vector<std::string> LaunchSlots() {
  std::vector<std::string> slots;
  for (int slot = 71; slot <= 78; ++slot) {
    const auto value = tessaline::testing::ReadRegistryValue(HKEY_LOCAL_MACHINE, L"init",
                                                             L"Launch" + std::to_wstring(slot));
    if (!value) continue;
    std::wstring text(reinterpret_cast<const wchar_t*>(value->bytes.data()),
                      value->bytes.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    slots.push_back(std::to_string(slot) + "=" + WideToUtf8(text));
  }
  return slots;
}

std::vector<std::string> ProductKeysPresent() {
  std::vector<std::string> present;
  for (const wchar_t* key : kProductKeys) {
    if (win32::RegKey opened; opened.Open(HKEY_CLASSES_ROOT, key, KEY_READ) == ERROR_SUCCESS) {
      present.push_back(WideToUtf8(key));
    }
  }
  return present;
}

void WriteFileText(const std::wstring& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream file(std::filesystem::path(path), std::ios::binary);
  file << text;
}

std::string ReadFileText(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

SetupHost CleanDevice::Host(std::optional<int> answer) {
  SetupHost host;
  host.answer = answer;
  host.output = [this](const std::string& line) { report_.push_back(line); };
  return host;
}

bool CleanDevice::Reported(const std::string& text) const {
  for (const std::string& line : report_) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

std::string CleanDevice::Report() const {
  std::string all;
  for (const std::string& line : report_) all += line + "\n";
  return all;
}

}  // namespace tessaline::emulator::testing
