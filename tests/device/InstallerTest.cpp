// The device's installer: the real package with the real setup library, and a package whose
// recording setup library shows exactly what the installer tells it.
#include <gtest/gtest.h>

#include <filesystem>

#include "../platform/DeviceFixture.h"
#include "CleanDevice.h"
#include "device/AppRecord.h"
#include "device/DevicePaths.h"
#include "device/Installer.h"
#include "device/Package.h"
#include "platform/DeviceState.h"
#include "platform/SetupHooks.h"
#include "support/TestFiles.h"
#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline::emulator::testing {
namespace {

using Strings = std::vector<std::string>;

class InstallerTest : public CleanDevice {
 protected:
  int Install(const std::wstring& package, std::optional<int> answer = IDOK) {
    return RunInstaller({package, EmulatorFolder(), Host(answer)});
  }
};

TEST_F(InstallerTest, InstallsThePackageRegistersTheLibraryAndMakesItCurrent) {
  ASSERT_EQ(Install(PackageFolder()), kSetupDone) << Report();
  const Strings package = Files(PackageFolder());
  EXPECT_EQ(Files(InstallFolder()), package);
  for (const char* expected : {"Tessaline.dll", "TSInstallCE.dll", "TSSelect.exe", "Afterboot.exe",
                               "Languages\\English.chr", "Layouts\\compact_white.pan"}) {
    EXPECT_NE(std::find(package.begin(), package.end(), expected), package.end()) << expected;
  }

  const auto library = tessaline::testing::ReadRegistryValue(
      HKEY_CLASSES_ROOT, L"CLSID\\" + kTessalineClass + L"\\InprocServer32", L"");
  ASSERT_TRUE(library);
  EXPECT_EQ(library->bytes, tessaline::testing::TextBytes(InstallFolder() + L"\\Tessaline.dll"));
  EXPECT_EQ(device::CurrentInputMethod(), device::ClassFromText(kTessalineClass));
  EXPECT_NE(GetFileAttributesW(JoinPath(SystemFolder(), L"unload.exe").c_str()),
            INVALID_FILE_ATTRIBUTES);

  const auto record = ReadAppRecord(kApplicationName);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->installFolder, L"\\Program files\\Tessaline");
  EXPECT_EQ(record->files.size(), package.size());
  EXPECT_EQ(record->setupLibrary, L"TSInstallCE.dll");
  EXPECT_EQ(record->selfRegistering, std::vector<std::wstring>{L"Tessaline.dll"});
  EXPECT_TRUE(Reported("Tulvane Tessaline installed into \\Program files\\Tessaline")) << Report();
}

TEST_F(InstallerTest, ASecondInstallationIsRefusedWithItsMessageAndCleansTheLaunchSlots) {
  ASSERT_EQ(Install(PackageFolder()), kSetupDone) << Report();
  tessaline::testing::WriteRegistryValue(
      HKEY_LOCAL_MACHINE, L"init", L"Launch72", REG_SZ,
      tessaline::testing::TextBytes(L"\\Program files\\Tessaline\\TSSelect.exe"));
  const std::wstring removed = InstallFolder() + L"\\Layouts\\compact.pan";
  ASSERT_TRUE(DeleteFileW(removed.c_str()));
  report_.clear();

  // A plain message is answered OK even by a device that answers its questions with Cancel.
  EXPECT_EQ(Install(PackageFolder(), IDCANCEL), kSetupFailed);
  EXPECT_TRUE(
      Reported("message: Tessaline is already installed / Remove it before new "
               "installation -> OK"))
      << Report();
  EXPECT_TRUE(Reported("refused")) << Report();
  EXPECT_TRUE(LaunchSlots().empty());
  EXPECT_EQ(GetFileAttributesW(removed.c_str()), INVALID_FILE_ATTRIBUTES);  // nothing copied
}

// A package of its own whose setup library records its calls.
class RecordedPackage {
 public:
  RecordedPackage() {
    folder_ = Utf8ToWin32Wide(temp_.Path());
    CopyFileW((tessaline::testing::TestProgramFolder() + L"\\recording_hooks.dll").c_str(),
              (folder_ + L"\\TSInstallCE.dll").c_str(), FALSE);
    temp_.Write("payload.txt", "payload");
    temp_.Write("Layouts/a.pan", "a");
    temp_.Write("Layouts/b.pan", "b");
    temp_.Write("Languages/English.usr", "shipped words");
    hooks_.Reset(LoadLibraryW((folder_ + L"\\TSInstallCE.dll").c_str()));
  }
  const std::wstring& Folder() const { return folder_; }
  std::wstring Record() const {
    using Proc = const wchar_t*(WINAPI*)();
    const auto record = hooks_.Find<Proc>("HookRecord");
    return record ? record() : L"(no recording hooks)";
  }
  void RefuseInstallation() const {
    if (const auto set = hooks_.Find<void(WINAPI*)(int)>("SetInstallInitResult")) {
      set(codeINSTALL_INIT_CANCEL);
    }
  }

 private:
  tessaline::testing::TempDir temp_;
  std::wstring folder_;
  win32::Library hooks_;  // keeps the copy the installer loads, so its record survives
};

// Held open without sharing, so that nothing can replace it.
win32::KernelHandle Lock(const std::wstring& path) {
  WriteFileText(path, "locked");
  return win32::KernelHandle(
      CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

TEST_F(InstallerTest, InstallExitHearsHowManyFilesFailedAndOnlyCopiedFilesAreRecorded) {
  RecordedPackage package;
  const auto first = Lock(InstallFolder() + L"\\Layouts\\a.pan");
  const auto second = Lock(InstallFolder() + L"\\Layouts\\b.pan");
  // A user's dictionary already on the device is never replaced by a shipped one.
  WriteFileText(InstallFolder() + L"\\Languages\\English.usr", "my words");

  EXPECT_EQ(Install(package.Folder()), kSetupFailed);
  EXPECT_EQ(package.Record(),
            L"Install_Init 1 0 \\Program files\\Tessaline\n"
            L"Install_Exit \\Program files\\Tessaline 0 2 0 0 0 payload\n");
  EXPECT_TRUE(Reported("2 of 5 files failed")) << Report();
  EXPECT_EQ(ReadFileText(InstallFolder() + L"\\Languages\\English.usr"), "my words");
  const auto record = ReadAppRecord(kApplicationName);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->files, (std::vector<std::wstring>{L"TSInstallCE.dll", L"payload.txt"}));
  EXPECT_TRUE(record->selfRegistering.empty());
}

TEST_F(InstallerTest, ARefusalCopiesNothingAndSkipsInstallExit) {
  RecordedPackage package;
  package.RefuseInstallation();
  EXPECT_EQ(Install(package.Folder()), kSetupFailed);
  EXPECT_EQ(package.Record(), L"Install_Init 1 0 \\Program files\\Tessaline\n");
  EXPECT_EQ(GetFileAttributesW(InstallFolder().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(ReadAppRecord(kApplicationName));
}

TEST_F(InstallerTest, AnEmptyOrMissingPackageInstallsNothing) {
  tessaline::testing::TempDir empty;
  EXPECT_EQ(Install(Utf8ToWin32Wide(empty.Path())), kSetupFailed);
  EXPECT_EQ(Install(Utf8ToWin32Wide(empty.Path()) + L"\\missing"), kSetupFailed);
  EXPECT_TRUE(Reported("holds no files")) << Report();
  EXPECT_FALSE(ReadAppRecord(kApplicationName));
}

}  // namespace
}  // namespace tessaline::emulator::testing
