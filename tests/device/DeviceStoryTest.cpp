// The emulated device as a whole, started under Wine with a script in this suite's own prefix:
// the soft reset and the start-up programs it runs, and the product's life on the device from
// its installation to its removal.
#include <gtest/gtest.h>
#include <windows.h>
// windows.h first
#include <tlhelp32.h>

#include <filesystem>

#include "../platform/DeviceFixture.h"
#include "CleanDevice.h"
#include "device/AppRecord.h"
#include "device/DevicePaths.h"
#include "device/Package.h"
#include "msim/SystemKeyboard.h"
#include "platform/DeviceState.h"
#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline::emulator::testing {
namespace {

using Strings = std::vector<std::string>;
using tessaline::testing::Narrow;

struct EmulatorRun {
  DWORD status = 0xFFFFFFFF;
  std::string notes;   // standard output: the Notes text at the end
  std::string errors;  // standard error: reports, the trace
};

win32::KernelHandle InheritableFile(const std::wstring& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  return win32::KernelHandle(CreateFileW(path.c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Runs the headless emulator with the script and waits for it.
EmulatorRun RunEmulator(const std::string& script, const std::wstring& options = L"") {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring work = std::wstring(temp) + L"tessaline-device-story";
  CreateDirectoryW(work.c_str(), nullptr);
  WriteFileText(work + L"\\script.txt", script);
  win32::KernelHandle out = InheritableFile(work + L"\\out.txt");
  win32::KernelHandle err = InheritableFile(work + L"\\err.txt");
  const std::wstring program = EmulatorFolder() + L"\\emulator.exe";
  std::wstring line =
      L"\"" + program + L"\" --headless --script \"" + work + L"\\script.txt\" " + options;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.Get();
  startup.hStdError = err.Get();
  PROCESS_INFORMATION process{};
  EmulatorRun run;
  if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &process)) {
    const win32::Process started(process);
    if (WaitForSingleObject(started.Get(), 400000) != WAIT_OBJECT_0) {
      ADD_FAILURE() << "the emulator did not end";
      TerminateProcess(started.Get(), 0xFFFFFFFF);
      WaitForSingleObject(started.Get(), INFINITE);
    }
    GetExitCodeProcess(started.Get(), &run.status);
  } else {
    ADD_FAILURE() << "cannot start the emulator, error " << GetLastError();
  }
  out.Reset();
  err.Reset();
  run.notes = ReadFileText(work + L"\\out.txt");
  run.errors = ReadFileText(work + L"\\err.txt");
  return run;
}

// Where each text first appears in the output, after the one before; npos when one is missing.
bool InOrder(const std::string& output, const Strings& texts) {
  size_t at = 0;
  for (const std::string& text : texts) {
    at = output.find(text, at);
    if (at == std::string::npos) return false;
    at += text.size();
  }
  return true;
}

bool ProcessRunning(const wchar_t* name) {
  const win32::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more && !found;
       more = Process32NextW(snapshot.Get(), &entry)) {
    found = lstrcmpiW(entry.szExeFile, name) == 0;
  }
  return found;
}

class DeviceStartTest : public CleanDevice {
 protected:
  ~DeviceStartTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(HostPath(L"\\Probe"), ignored);
  }
};

TEST_F(DeviceStartTest, ASoftResetReleasesTheInputMethodAndRunsTheLaunchSlotsAgainInOrder) {
  const std::wstring probe = HostPath(L"\\Probe\\launch_probe.exe");
  std::filesystem::create_directories(std::filesystem::path(probe).parent_path());
  ASSERT_TRUE(CopyFileW((tessaline::testing::TestProgramFolder() + L"\\launch_probe.exe").c_str(),
                        probe.c_str(), FALSE));
  using tessaline::testing::TextBytes;
  using tessaline::testing::WriteRegistryValue;
  for (const wchar_t* slot : {L"Launch78", L"Launch74", L"Launch72", L"Launch71"}) {
    WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", slot, REG_SZ,
                       TextBytes(L"\\Probe\\launch_probe.exe"));
  }
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch73", REG_SZ, TextBytes(L""));

  const EmulatorRun run = RunEmulator("reset\n", L"--trace");
  EXPECT_EQ(run.status, 0u) << run.errors;
  // Once at the emulator's start, once after the reset; the program that ended without its
  // signal (72) did not hold up the ones after it.
  EXPECT_EQ(ReadFileText(HostPath(L"\\Probe\\launch-probe.txt")),
            "71\n72\n74\n78\n71\n72\n74\n78\n");
  EXPECT_TRUE(run.errors.find("slot 72: \\Probe\\launch_probe.exe ended without its start-up "
                              "signal") != std::string::npos)
      << run.errors;
  // The input method is deselected and released before the device starts again, with its
  // launch slots only after it has its input method.
  EXPECT_TRUE(InOrder(run.errors, {"start-up: slot 78: started", "soft reset", "Deselect",
                                   "CoCreateInstance", "Select", "start-up: slot 71: started"}))
      << run.errors;
  EXPECT_FALSE(device::SoftResetRequested());
}

// The product's whole life on the device, as a person lives it: installed, it is the current
// input method and types; "Make default IM" on the options' Interface page; another input
// method chosen, then a soft reset, after which the start-up selector makes it current again;
// removed while it is in use, the question answered OK; the soft reset that the removal asked
// for, after which the uninstall finisher starts the uninstaller; nothing left of it but the
// user's dictionaries, and the system keyboard current again.
class DeviceStory : public CleanDevice {
 protected:
  DeviceStory() {
    // The start-up selector's pauses of 20 and 40 seconds last a hundredth of that.
    device::SetPausePercent(1);
  }
};

TEST_F(DeviceStory, FromInstallationToRemoval) {
  // The words a person taught the product before, kept from an earlier installation.
  WriteFileText(InstallFolder() + L"\\Languages\\German.usr", "Wörter");

  const EmulatorRun run = RunEmulator(
      "install\n"
      "current TSInputM Class\n"
      // t-h-e on the keypad's 8, 4 and 3 (the panel's top is at 174), then the space key.
      "tap 75 274\ntap 25 234\ntap 125 194\ntap 175 234\n"
      "options\n"
      "page Interface\n"
      "press Make default IM\n"
      "press OK\n"
      "pick Keyboard\n"
      "current Keyboard\n"
      "reset\n"
      "current TSInputM Class\n"
      "uninstall\n"
      "current Keyboard\n");
  EXPECT_EQ(run.status, 0u) << run.errors;
  EXPECT_TRUE(InOrder(run.errors,
                      {"install: Tulvane Tessaline installed into \\Program files\\Tessaline",
                       "soft reset; the Notes text \"the \" is gone",
                       "start-up: slot 71: started \\Program files\\Tessaline\\TSSelect.exe",
                       "message: Tessaline is in use / Soft Reset the device and uninstall? -> OK",
                       "soft reset", "Afterboot.exe"}))
      << run.errors;

  // The uninstaller that the finisher started runs on after the emulator's script; it is done
  // when the device's record of the application is gone.
  for (int waited = 0;
       waited < 600 && (ReadAppRecord(kApplicationName) || ProcessRunning(L"unload.exe"));
       ++waited) {
    Sleep(100);
  }
  EXPECT_FALSE(ReadAppRecord(kApplicationName));
  EXPECT_EQ(ProductKeysPresent(), Strings{});
  EXPECT_EQ(LaunchSlots(), Strings{});
  const Strings left = Files(InstallFolder());
  EXPECT_FALSE(left.empty());
  for (const std::string& file : left) {
    EXPECT_TRUE(file.starts_with("Languages\\") && file.ends_with(".usr")) << file;
  }
  EXPECT_EQ(ReadFileText(InstallFolder() + L"\\Languages\\German.usr"), "Wörter");
  const auto defaultIm = device::DefaultInputMethod();
  ASSERT_TRUE(defaultIm);
  EXPECT_EQ(Narrow(device::ClassText(*defaultIm)),
            Narrow(device::ClassText(msim::CLSID_SystemKeyboard)));
}

}  // namespace
}  // namespace tessaline::emulator::testing
