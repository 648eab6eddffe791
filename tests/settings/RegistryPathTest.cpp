// Registry values by path and the launch slots, against the real registry.
#include <gtest/gtest.h>

#include "RegistrySnapshot.h"
#include "settings/LaunchSlots.h"
#include "settings/RegistryPath.h"

namespace tessaline {
namespace {

using testing::NumberBytes;
using testing::TextBytes;
using testing::WriteRegistryValue;

constexpr const wchar_t* kScratch = L"Software\\Tessaline tests\\Paths";

class RegistryPathTest : public ::testing::Test {
 protected:
  RegistryPathTest() { testing::DeleteRegistryKey(HKEY_CURRENT_USER, kScratch); }
  ~RegistryPathTest() override { testing::DeleteRegistryKey(HKEY_CURRENT_USER, kScratch); }
  static WideString Path(const char16_t* name) {
    return u"Software\\Tessaline tests\\Paths\\" + WideString(name);
  }
};

TEST_F(RegistryPathTest, ReadsTextOnlyFromStringValues) {
  WideString text = u"stale";
  EXPECT_FALSE(ReadRegistryText(HKEY_CURRENT_USER, Path(u"Missing"), text));
  EXPECT_TRUE(text.empty());
  WriteRegistryValue(HKEY_CURRENT_USER, kScratch, L"Number", REG_DWORD, NumberBytes(7));
  WriteRegistryValue(HKEY_CURRENT_USER, kScratch, L"Text", REG_SZ, TextBytes(L"\\x\\TSSelect.exe"));
  EXPECT_TRUE(ReadRegistryText(HKEY_CURRENT_USER, Path(u"Number"), text));
  EXPECT_TRUE(text.empty());
  EXPECT_TRUE(ReadRegistryText(HKEY_CURRENT_USER, Path(u"Text"), text));
  EXPECT_EQ(text, u"\\x\\TSSelect.exe");
}

TEST_F(RegistryPathTest, LongAndUnterminatedValuesAreReadWholeAndNoFurther) {
  // 600 characters: more than the usual buffer holds; the name at its end is still seen.
  const std::wstring longText = std::wstring(588, L'x') + L"TSSelect.exe";
  WriteRegistryValue(HKEY_CURRENT_USER, kScratch, L"Long", REG_SZ, TextBytes(longText));
  WideString text;
  ASSERT_TRUE(ReadRegistryText(HKEY_CURRENT_USER, Path(u"Long"), text));
  EXPECT_EQ(text.size(), 600u);
  EXPECT_TRUE(text.ends_with(u"TSSelect.exe"));
  WriteRegistryValue(HKEY_CURRENT_USER, kScratch, L"Bare", REG_SZ, TextBytes(L"abc", false));
  ASSERT_TRUE(ReadRegistryText(HKEY_CURRENT_USER, Path(u"Bare"), text));
  EXPECT_EQ(text, u"abc");
  // An odd byte count: the half character is not read.
  WriteRegistryValue(HKEY_CURRENT_USER, kScratch, L"Odd", REG_SZ, std::string("a\0b", 3));
  ASSERT_TRUE(ReadRegistryText(HKEY_CURRENT_USER, Path(u"Odd"), text));
  EXPECT_EQ(text, u"a");
}

TEST_F(RegistryPathTest, WritesOnlyIntoAnExistingKeyAndDeletes) {
  EXPECT_FALSE(WriteRegistryText(HKEY_CURRENT_USER, Path(u"Value"), u"one"));
  EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, Path(u"Value")));
  WriteRegistryValue(HKEY_CURRENT_USER, kScratch, L"Other", REG_DWORD, NumberBytes(1));
  ASSERT_TRUE(WriteRegistryText(HKEY_CURRENT_USER, Path(u"Value"), u"one"));
  EXPECT_EQ(testing::ReadRegistryValue(HKEY_CURRENT_USER, kScratch, L"Value")->bytes,
            TextBytes(L"one"));
  EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, Path(u"Value")));
  EXPECT_TRUE(DeleteRegistryValue(HKEY_CURRENT_USER, Path(u"Value")));
  EXPECT_FALSE(DeleteRegistryValue(HKEY_CURRENT_USER, Path(u"Value")));
  EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, Path(u"Value")));
}

class LaunchSlotsTest : public ::testing::Test {
 protected:
  LaunchSlotsTest() {
    init_.MakeEmpty();
    WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch10", REG_SZ, TextBytes(L"shell.exe"));
  }
  testing::RegistrySnapshot init_{HKEY_LOCAL_MACHINE, L"init"};
};

TEST_F(LaunchSlotsTest, FindsTheFirstSlotHoldingAText) {
  EXPECT_EQ(LaunchSlotPath(71), u"init\\Launch71");
  EXPECT_EQ(FindLaunchSlot(u"TSSelect.exe"), 0);
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch71", REG_DWORD, NumberBytes(1));
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch74", REG_SZ,
                     TextBytes(L"\\Program files\\Tessaline\\TSSelect.exe"));
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch76", REG_SZ, TextBytes(L"TSSelect.exe"));
  // Slots outside 71 to 78 are not launch slots of ours.
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch79", REG_SZ, TextBytes(L"TSSelect.exe"));
  EXPECT_EQ(FindLaunchSlot(u"TSSelect.exe"), 74);
  EXPECT_EQ(FindLaunchSlot(u"tsselect.exe"), 0);
  EXPECT_TRUE(LaunchSlotExists(71));
  EXPECT_EQ(ReadLaunchSlot(71), u"");
  EXPECT_FALSE(LaunchSlotExists(72));
  EXPECT_TRUE(DeleteLaunchSlot(74));
  EXPECT_EQ(FindLaunchSlot(u"TSSelect.exe"), 76);
  EXPECT_TRUE(WriteLaunchSlot(72, u"x"));
  EXPECT_EQ(ReadLaunchSlot(72), u"x");
}

}  // namespace
}  // namespace tessaline
