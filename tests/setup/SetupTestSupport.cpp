#include "SetupTestSupport.h"

#include <gtest/gtest.h>

#include "system/WideText.h"

namespace tessaline::setup {

SetupTest::SetupTest() {
  slots_.MakeEmpty();
  classKey_.Remove();
  previous_ = SetSetupMessageHandler([this](const SetupMessage& message) {
    messages_.push_back(message);
    return answer_;
  });
}

SetupTest::~SetupTest() { SetSetupMessageHandler(previous_); }

void SetupTest::WriteSlot(int slot, const std::wstring& text) {
  testing::WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch" + std::to_wstring(slot),
                              REG_SZ, testing::TextBytes(text));
}

SlotTexts SetupTest::Slots() {
  SlotTexts slots;
  for (int slot = 71; slot <= 78; ++slot) {
    const auto value =
        testing::ReadRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch" + std::to_wstring(slot));
    if (!value) continue;
    if (value->type != REG_SZ) {
      slots[slot] = L"(not text)";
      continue;
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(value->bytes.data()),
                      value->bytes.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    slots[slot] = text;
  }
  return slots;
}

void SetupTest::SetDefaultIm(const std::string& bytes, DWORD type) {
  testing::WriteRegistryValue(HKEY_CURRENT_USER, L"ControlPanel\\Sip", L"DefaultIm", type, bytes);
}

std::string SetupTest::DefaultIm() {
  const auto value =
      testing::ReadRegistryValue(HKEY_CURRENT_USER, L"ControlPanel\\Sip", L"DefaultIm");
  return value ? value->bytes : "(missing)";
}

std::wstring Wide(const std::string& text) { return Utf8ToWin32Wide(text); }

std::string Narrow(const std::wstring& text) { return testing::Narrow(text); }

}  // namespace tessaline::setup
