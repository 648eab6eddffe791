// The setup hooks against the real registry and real files under Wine: the launch slots, the
// class key, "DefaultIm", the system input methods, the library-in-use test with a library that
// is really loaded, the question and the soft reset.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../platform/DeviceFixture.h"
#include "SetupTestSupport.h"
#include "TSInstallCE/DefaultImHandover.h"
#include "TSInstallCE/InstallHooks.h"
#include "platform/DeviceRecord.h"
#include "platform/DeviceServices.h"
#include "platform/DeviceState.h"
#include "support/TestFiles.h"
#include "win32/Handles.h"

namespace tessaline::setup {
namespace {

using testing::ReadRegistryValue;
using testing::RegisteredClass;
using testing::TextBytes;
using testing::WriteRegistryValue;

// System keyboards and others, with class texts that come first in the platform's order.
const std::wstring kSystemA = L"{00000001-7E55-4A1B-9C3D-5E0F000000A1}";
const std::wstring kSystemB = L"{00000001-7E55-4A1B-9C3D-5E0F000000B2}";
const std::wstring kFullPath = L"{00000001-7E55-4A1B-9C3D-5E0F00000001}";
const std::wstring kNotInputMethod = L"{00000001-7E55-4A1B-9C3D-5E0F00000002}";
const std::wstring kOtherKeyboard = L"{00000001-7E55-4A1B-9C3D-5E0F00000003}";

const std::wstring kAlreadyInstalled =
    L"Tessaline is already installed\nRemove it before new installation";
const std::wstring kInUse = L"Tessaline is in use\nSoft Reset the device and uninstall?";

std::vector<std::wstring> OurSystemInputMethods() {
  std::vector<std::wstring> ours;
  for (const std::wstring& text : SystemInputMethods()) {
    if (text.starts_with(L"{00000001-7E55-")) ours.push_back(text);
  }
  return ours;
}

class SetupHooksTest : public SetupTest {
 protected:
  // The installed product: its class key with Path and the library's path.
  void Install(const std::wstring& library) {
    product_.emplace(kClass, L"TSInputM Class", library);
    WriteRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"Path", REG_SZ,
                       TextBytes(L"\\Program files\\Tessaline"));
  }

  std::optional<RegisteredClass> product_;
};

TEST_F(SetupHooksTest, AnInstallationOverAnExistingOneIsRefusedAfterTheSlotsAreCleaned) {
  WriteSlot(71, L"\\Windows\\clock.exe");
  WriteSlot(72, L"\\Program files\\Tessaline\\TSSelect.exe");
  WriteSlot(73, L"\\Storage\\tessaline\\lower.exe");  // the word is looked for case-sensitively
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch74", REG_DWORD, testing::NumberBytes(7));
  WriteSlot(76, L"\\Program files\\Tessaline\\Afterboot.exe");
  Install(L"Tessaline.dll");
  const HWND parent = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(InstallInit(parent), codeINSTALL_INIT_CANCEL);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].owner, parent);
  EXPECT_EQ(messages_[0].text, kAlreadyInstalled);
  EXPECT_EQ(messages_[0].caption, L"");
  EXPECT_EQ(messages_[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(Slots(), (SlotTexts{{71, L"\\Windows\\clock.exe"},
                                {73, L"\\Storage\\tessaline\\lower.exe"},
                                {74, L"(not text)"}}));

  // Without the class key the installation goes on, and the slots are cleaned just the same.
  product_.reset();
  WriteSlot(78, L"\\Tessaline\\TSSelect.exe");
  EXPECT_EQ(InstallInit(parent), codeINSTALL_INIT_CONTINUE);
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_FALSE(Slots().contains(78));
}

TEST_F(SetupHooksTest, ACleanInstallationMakesTheInputMethodCurrent) {
  Install(L"Tessaline.dll");
  EXPECT_EQ(InstallExit(1), codeINSTALL_EXIT_DONE);  // a file failed: nothing is chosen
  EXPECT_FALSE(device::CurrentInputMethod());
  EXPECT_EQ(InstallExit(0), codeINSTALL_EXIT_DONE);
  EXPECT_EQ(device::CurrentInputMethod(), device::ClassFromText(kClass));
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, L"ControlPanel\\Sip", L"DefaultIm")->bytes,
            TextBytes(kClass));
}

class DefaultImTest : public SetupHooksTest {
 protected:
  RegisteredClass systemB_{kSystemB, L"Keyboard B", L"MSIM.DLL"};
  RegisteredClass systemA_{kSystemA, L"Keyboard A", L"msim.dll"};  // any letter case
  RegisteredClass fullPath_{kFullPath, L"Keyboard", L"\\Windows\\msim.dll"};
  RegisteredClass notInputMethod_{kNotInputMethod, L"Keyboard", L"MSIM.DLL", false};
  RegisteredClass otherKeyboard_{kOtherKeyboard, L"Other", L"other.dll"};
};

TEST_F(DefaultImTest, OursInAnyLetterCaseIsHandedToTheFirstSystemInputMethod) {
  SetDefaultIm(TextBytes(L"{d29b81cd-2716-464c-ae72-61c143a16307}"));
  EXPECT_EQ(UninstallInit(nullptr), codeUNINSTALL_INIT_CONTINUE);
  EXPECT_EQ(DefaultIm(), TextBytes(kSystemA));
  // A full path ending in msim.dll, and a class that is not an input method, do not count.
  EXPECT_EQ(OurSystemInputMethods(), (std::vector<std::wstring>{kSystemA, kSystemB}));
  EXPECT_TRUE(messages_.empty());
  EXPECT_FALSE(device::SoftResetRequested());
}

TEST_F(DefaultImTest, AnotherDefaultImIsLeftAlone) {
  const std::vector<std::pair<std::string, DWORD>> others = {
      {TextBytes(kOtherKeyboard), REG_SZ},
      {TextBytes(L""), REG_SZ},
      {TextBytes(kClass), REG_BINARY},  // ours, but not as a string
      // ours followed by more text, longer than the value's usual buffer: not ours
      {TextBytes(kClass + std::wstring(300, L'7')), REG_SZ}};
  for (const auto& [bytes, type] : others) {
    SetDefaultIm(bytes, type);
    UninstallInit(nullptr);
    EXPECT_EQ(DefaultIm(), bytes);
  }
}

TEST_F(DefaultImTest, StringsWithoutTerminatorAreReadToTheirEndAndNoFurther) {
  // "DefaultIm" and a library name stored without their terminators.
  SetDefaultIm(TextBytes(kClass, false));
  WriteRegistryValue(HKEY_CLASSES_ROOT, L"CLSID\\" + kSystemA + L"\\InprocServer32", L"", REG_SZ,
                     TextBytes(L"MSIM.DLL", false));
  // A library value that holds "MSIM.DLL" only as the start of something longer.
  WriteRegistryValue(HKEY_CLASSES_ROOT, L"CLSID\\" + kSystemB + L"\\InprocServer32", L"", REG_SZ,
                     TextBytes(L"MSIM.DLL" + std::wstring(600, L'x'), false));
  UninstallInit(nullptr);
  EXPECT_EQ(DefaultIm(), TextBytes(kSystemA));
  EXPECT_EQ(OurSystemInputMethods(), std::vector<std::wstring>{kSystemA});
}

TEST_F(SetupHooksTest, ALibraryNotInUseIsRemovedWithoutAQuestion) {
  testing::TempDir folder;
  const std::string library = folder.Write("Tessaline.dll", "MZ");
  for (const std::wstring& path :
       {Wide(library), Wide(folder.File("missing.dll")), std::wstring()}) {
    Install(path);
    WriteSlot(71, L"\\Windows\\clock.exe");
    EXPECT_EQ(UninstallInit(nullptr), codeUNINSTALL_INIT_CONTINUE);
    EXPECT_TRUE(messages_.empty());
    EXPECT_FALSE(device::SoftResetRequested());
    EXPECT_EQ(Slots(), (SlotTexts{{71, L"\\Windows\\clock.exe"}}));
  }
  EXPECT_EQ(testing::ReadBytes(library), "MZ");  // opening it for appending changed nothing
  EXPECT_FALSE(std::filesystem::exists(folder.File("missing.dll")));

  product_.reset();  // no class key at all
  EXPECT_EQ(UninstallInit(nullptr), codeUNINSTALL_INIT_CONTINUE);
  EXPECT_TRUE(messages_.empty());
}

class LibraryInUseTest : public SetupHooksTest {
 protected:
  LibraryInUseTest() {
    library_ = Wide(folder_.File("Tessaline.dll"));
    CopyFileW((testing::TestProgramFolder() + L"\\loaded_library.dll").c_str(), library_.c_str(),
              FALSE);
    loaded_.Reset(LoadLibraryW(library_.c_str()));
    Install(library_);
  }

  testing::TempDir folder_;
  std::wstring library_;
  win32::Library loaded_;
};

TEST_F(LibraryInUseTest, OkLeavesTheDeferredEntryInTheFirstFreeSlotAndResetsTheDevice) {
  ASSERT_TRUE(loaded_);
  for (int slot = 71; slot <= 74; ++slot) WriteSlot(slot, L"\\Windows\\other.exe");
  WriteSlot(76, L"\\Windows\\later.exe");
  SetDefaultIm(TextBytes(kClass));
  RegisteredClass system{kSystemA, L"Keyboard A", L"MSIM.DLL"};
  answer_ = IDOK;
  const HWND parent = reinterpret_cast<HWND>(0x4321);
  EXPECT_EQ(UninstallInit(parent), codeUNINSTALL_INIT_CONTINUE);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].owner, parent);
  EXPECT_EQ(messages_[0].text, kInUse);
  EXPECT_EQ(messages_[0].caption, L"");
  EXPECT_EQ(messages_[0].style, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
  EXPECT_EQ(Slots()[75], L"\\Program files\\Tessaline\\Afterboot.exe");
  EXPECT_EQ(Slots().size(), 6u);
  EXPECT_TRUE(device::SoftResetRequested());
  EXPECT_EQ(DefaultIm(), TextBytes(kSystemA));  // in force after the reset
  const auto calls = testing::MyCalls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), L"KernelIoControl 0x0101003C");
}

TEST_F(LibraryInUseTest, TheDeferredEntryTakesASlotThatCleaningFreed) {
  for (int slot = 71; slot <= 78; ++slot) WriteSlot(slot, L"\\Windows\\other.exe");
  WriteSlot(73, L"\\Program files\\Tessaline\\TSSelect.exe");
  answer_ = IDOK;
  UninstallInit(nullptr);
  EXPECT_EQ(Slots()[73], L"\\Program files\\Tessaline\\Afterboot.exe");

  // All eight in use by others: nothing is written, the device is reset all the same.
  WriteSlot(73, L"\\Windows\\other.exe");
  device::SetSoftResetRequested(false);
  UninstallInit(nullptr);
  for (const auto& [slot, text] : Slots()) EXPECT_EQ(text, L"\\Windows\\other.exe");
  EXPECT_TRUE(device::SoftResetRequested());
}

TEST_F(LibraryInUseTest, NothingIsWrittenWithoutAnInstallationFolderOrALaunchKey) {
  answer_ = IDOK;
  WriteRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"Path", REG_SZ, TextBytes(L""));
  UninstallInit(nullptr);
  EXPECT_TRUE(Slots().empty());
  EXPECT_TRUE(device::SoftResetRequested());

  WriteRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"Path", REG_SZ,
                     TextBytes(L"\\Program files\\Tessaline"));
  slots_.Remove();
  UninstallInit(nullptr);
  EXPECT_FALSE(testing::ReadRegistryKey(HKEY_LOCAL_MACHINE, L"init"));  // not created
}

TEST_F(LibraryInUseTest, CancelLetsTheRemovalGoOnWithTheLibraryInPlace) {
  answer_ = IDCANCEL;
  EXPECT_EQ(UninstallInit(nullptr), codeUNINSTALL_INIT_CONTINUE);
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_TRUE(Slots().empty());
  EXPECT_FALSE(device::SoftResetRequested());
  EXPECT_TRUE(std::filesystem::exists(library_));

  // Once the library is free again, the removal asks nothing.
  loaded_.Reset();
  UninstallInit(nullptr);
  EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(LibraryInUseTest, AFileHeldWithoutSharedWritingIsInUseToo) {
  loaded_.Reset();
  win32::KernelHandle held(CreateFileW(library_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  answer_ = IDCANCEL;
  UninstallInit(nullptr);
  held.Reset();
  EXPECT_EQ(messages_.size(), 1u);
}

}  // namespace
}  // namespace tessaline::setup
