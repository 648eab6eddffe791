// The device tests' fixture. They run in an emulated device of their own (a Wine prefix that no
// other suite uses), because they install the product for real: into C:\Program files\Tessaline,
// the class registry, the launch slots, the device's system folder. Every test starts and ends
// on a device without the product: no trace of it in the registry, no installation folder, no
// uninstaller in the system folder, a fresh device state.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "device/SetupHost.h"
#include "system/ProductIds.h"

namespace tessaline::emulator::testing {

inline const std::wstring kTessalineClass = kInputMethodClassId;

// Removes every trace of the product from this device.
void WipeProduct();

// The build's folders and the device's.
std::wstring EmulatorFolder();  // emulator.exe, unload.exe, MSIM.DLL
std::wstring PackageFolder();   // the product's package beside it
std::wstring InstallFolder();   // C:\Program files\Tessaline

// Every file below the folder, relative, as UTF-8 for readable assertions.
std::vector<std::string> Files(const std::wstring& folder);

// The launch slots 71 to 78 that hold text, "71=...".
std::vector<std::string> LaunchSlots();

// The registry keys of the product that registration writes, and which of them exist.
std::vector<std::string> ProductKeysPresent();

void WriteFileText(const std::wstring& path, const std::string& text);
std::string ReadFileText(const std::wstring& path);

class CleanDevice : public ::testing::Test {
 protected:
  CleanDevice() { WipeProduct(); }
  ~CleanDevice() override { WipeProduct(); }

  // A host that answers questions so and keeps the report.
  SetupHost Host(std::optional<int> answer = IDOK);
  // True when a line of the report contains the text.
  bool Reported(const std::string& text) const;
  std::string Report() const;

  std::vector<std::string> report_;
};

}  // namespace tessaline::emulator::testing
