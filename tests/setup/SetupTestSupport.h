// The fixture of the setup hooks' and the programs' tests: the launch slots, the product's class
// key and the device's state put back after each test, and the hooks' messages answered.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "../platform/DeviceFixture.h"
#include "../settings/RegistrySnapshot.h"
#include "TSInstallCE/SetupMessages.h"
#include "system/ProductIds.h"

namespace tessaline::setup {

inline const std::wstring kClass = kInputMethodClassId;
inline const std::wstring kClassKey = L"CLSID\\" + kClass;

// Launch slot number to its text; a value that is not text shows as "(not text)".
using SlotTexts = std::map<int, std::wstring>;

class SetupTest : public ::testing::Test {
 protected:
  SetupTest();
  ~SetupTest() override;

  void WriteSlot(int slot, const std::wstring& text);
  SlotTexts Slots();
  void SetDefaultIm(const std::string& bytes, DWORD type = REG_SZ);
  std::string DefaultIm();  // the value's bytes, "(missing)" without one

  testing::DeviceStateScope device_;
  testing::RegistrySnapshot slots_{HKEY_LOCAL_MACHINE, L"init"};
  testing::RegistrySnapshot classKey_{HKEY_CLASSES_ROOT, kClassKey};
  std::vector<SetupMessage> messages_;
  int answer_ = IDOK;
  SetupMessageHandler previous_;
};

std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

}  // namespace tessaline::setup
