// The device's uninstaller after a real installation: what goes, what stays (the user's
// dictionaries, a library still in use), the deferred removal when the device must restart
// first, and a record that names paths outside the installation folder.
#include <gtest/gtest.h>

#include "../platform/DeviceFixture.h"
#include "CleanDevice.h"
#include "device/AppRecord.h"
#include "device/DevicePaths.h"
#include "device/Installer.h"
#include "device/Package.h"
#include "device/Uninstaller.h"
#include "platform/DeviceState.h"
#include "win32/Handles.h"

namespace tessaline::emulator::testing {
namespace {

using Strings = std::vector<std::string>;

// A system keyboard as every device has one: its library is registered as "MSIM.DLL" exactly.
// Its class text sorts first, so it is the first system input method whatever else is installed.
const std::wstring kKeyboardClass = L"{00000000-0000-4000-8000-0000000000A1}";

class UninstallerTest : public CleanDevice {
 protected:
  UninstallerTest() : keyboard_(kKeyboardClass, L"Keyboard", L"MSIM.DLL") {}

  void Install() {
    ASSERT_EQ(RunInstaller({PackageFolder(), EmulatorFolder(), Host()}), kSetupDone) << Report();
    report_.clear();
  }
  int Uninstall(std::optional<int> answer = IDOK) {
    return RunUninstaller(kApplicationName, Host(answer));
  }
  std::string DefaultIm() {
    const auto text = device::DefaultInputMethod();
    return text ? tessaline::testing::Narrow(device::ClassText(*text)) : "(none)";
  }

  tessaline::testing::RegisteredClass keyboard_;
};

TEST_F(UninstallerTest, RemovesWhatWasInstalledAndKeepsTheUsersDictionaries) {
  Install();
  ASSERT_EQ(DefaultIm(), tessaline::testing::Narrow(kTessalineClass));
  WriteFileText(InstallFolder() + L"\\Languages\\English.usr", "the user's words");
  WriteFileText(InstallFolder() + L"\\Languages\\German.usr", "Wörter");

  EXPECT_EQ(Uninstall(), kSetupDone) << Report();
  EXPECT_EQ(Files(InstallFolder()), (Strings{"Languages\\English.usr", "Languages\\German.usr"}));
  EXPECT_TRUE(ProductKeysPresent().empty());
  EXPECT_FALSE(ReadAppRecord(kApplicationName));
  EXPECT_EQ(DefaultIm(), tessaline::testing::Narrow(kKeyboardClass));
  EXPECT_TRUE(Reported("the files it did not install stay")) << Report();

  // Installed again, the product finds the user's words where they were.
  Install();
  EXPECT_EQ(ReadFileText(InstallFolder() + L"\\Languages\\English.usr"), "the user's words");
  EXPECT_EQ(Uninstall(), kSetupDone) << Report();

  EXPECT_EQ(Uninstall(), kSetupFailed);
  EXPECT_TRUE(Reported("Tulvane Tessaline is not installed")) << Report();
}

TEST_F(UninstallerTest, ALibraryInUseStaysWhenTheQuestionIsCancelled) {
  Install();
  const win32::Library loaded(LoadLibraryW((InstallFolder() + L"\\Tessaline.dll").c_str()));
  ASSERT_TRUE(loaded);

  EXPECT_EQ(Uninstall(IDCANCEL), kSetupFailed);
  EXPECT_TRUE(
      Reported("message: Tessaline is in use / Soft Reset the device and uninstall? -> "
               "Cancel"))
      << Report();
  EXPECT_TRUE(Reported("in use and stay: Tessaline.dll")) << Report();
  EXPECT_EQ(Files(InstallFolder()), Strings{"Tessaline.dll"});
  EXPECT_TRUE(ProductKeysPresent().empty());
  EXPECT_TRUE(LaunchSlots().empty());
  EXPECT_FALSE(device::SoftResetRequested());
  EXPECT_FALSE(ReadAppRecord(kApplicationName));
}

TEST_F(UninstallerTest, ALibraryInUseAndOkLeavesTheRemovalToTheRestartedDevice) {
  Install();
  const Strings installed = Files(InstallFolder());
  const win32::Library loaded(LoadLibraryW((InstallFolder() + L"\\Tessaline.dll").c_str()));
  tessaline::testing::WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch71", REG_SZ,
                                         tessaline::testing::TextBytes(L"\\Windows\\clock.exe"));

  EXPECT_EQ(Uninstall(IDOK), kSetupDone) << Report();
  EXPECT_TRUE(Reported("goes on after the reset")) << Report();
  EXPECT_TRUE(device::SoftResetRequested());
  EXPECT_EQ(LaunchSlots(),
            (Strings{"71=\\Windows\\clock.exe", "72=\\Program files\\Tessaline\\Afterboot.exe"}));
  EXPECT_EQ(Files(InstallFolder()), installed);
  EXPECT_FALSE(ProductKeysPresent().empty());
  EXPECT_TRUE(ReadAppRecord(kApplicationName));
  // The hand-back is in force before the reset.
  EXPECT_EQ(DefaultIm(), tessaline::testing::Narrow(kKeyboardClass));
}

TEST_F(UninstallerTest, NeverDeletesARecordedPathOutsideTheInstallationFolder) {
  const std::wstring outside = HostPath(L"\\Program files\\outside.txt");
  const std::wstring root = HostPath(L"\\outside-root.txt");
  WriteFileText(outside, "not the application's");
  WriteFileText(root, "not the application's");
  WriteFileText(InstallFolder() + L"\\inside.txt", "the application's");
  AppRecord record;
  record.installFolder = kInstallFolder;
  record.files = {L"inside.txt", L"..\\outside.txt", L"\\outside-root.txt", root,
                  L"Languages\\..\\..\\outside.txt"};
  ASSERT_TRUE(WriteAppRecord(kApplicationName, record));

  EXPECT_EQ(Uninstall(), kSetupDone) << Report();
  EXPECT_EQ(GetFileAttributesW(InstallFolder().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadFileText(outside), "not the application's");
  EXPECT_EQ(ReadFileText(root), "not the application's");
  EXPECT_TRUE(Reported("left out the recorded path '..\\outside.txt'")) << Report();
  DeleteFileW(outside.c_str());
  DeleteFileW(root.c_str());
}

TEST_F(UninstallerTest, TheRecordReadsBackAndADamagedListKeepsItsWholeNames) {
  AppRecord record{L"\\Program files\\X", {L"a.txt", L"Languages\\b.chr"}, L"a.txt", {L"a.txt"}};
  ASSERT_TRUE(WriteAppRecord(L"Test App", record));
  EXPECT_EQ(ReadAppRecord(L"Test App"), record);
  // A list whose final terminators are missing ends at its stored length.
  const std::wstring cut(L"a.txt\0b.txt", 11);
  tessaline::testing::WriteRegistryValue(
      HKEY_LOCAL_MACHINE, L"Software\\Apps\\Test App", L"Files", REG_MULTI_SZ,
      std::string(reinterpret_cast<const char*>(cut.data()), cut.size() * sizeof(wchar_t)));
  EXPECT_EQ(ReadAppRecord(L"Test App")->files, (std::vector<std::wstring>{L"a.txt", L"b.txt"}));
  DeleteAppRecord(L"Test App");
  EXPECT_FALSE(ReadAppRecord(L"Test App"));
}

}  // namespace
}  // namespace tessaline::emulator::testing
