// The deferred uninstall finisher: its launch slot, the uninstaller it starts and its start-up
// signal; and the real Afterboot.exe starting a stand-in uninstaller found on the search path
// without waiting for it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "../platform/DeviceFixture.h"
#include "Afterboot/UninstallFinisher.h"
#include "SetupTestSupport.h"
#include "platform/DeviceRecord.h"
#include "platform/DeviceState.h"
#include "support/TestFiles.h"
#include "win32/Handles.h"

namespace tessaline::afterboot {
namespace {

using Calls = std::vector<std::wstring>;

class UninstallFinisherTest : public setup::SetupTest {
 protected:
  StartProgram RecordingStart(bool succeeds = true) {
    return [this, succeeds](const std::wstring& program, const std::wstring& arguments) {
      started_.emplace_back(program, arguments);
      return succeeds;
    };
  }
  std::vector<std::pair<std::wstring, std::wstring>> started_;
};

TEST_F(UninstallFinisherTest, RemovesOnlyTheFirstEntryAndStartsTheUninstaller) {
  WriteSlot(71, L"\\Windows\\clock.exe");
  WriteSlot(72, L"\\Program files\\Tessaline\\Afterboot.exe");
  WriteSlot(74, L"\\Storage\\afterboot.exe");  // looked for case-sensitively
  WriteSlot(75, L"\\Program files\\Tessaline\\Afterboot.exe");
  EXPECT_EQ(RunUninstallFinisher({L"72"}, RecordingStart()), 0);
  EXPECT_EQ(Slots(), (setup::SlotTexts{{71, L"\\Windows\\clock.exe"},
                                       {74, L"\\Storage\\afterboot.exe"},
                                       {75, L"\\Program files\\Tessaline\\Afterboot.exe"}}));
  EXPECT_EQ(
      started_,
      (std::vector<std::pair<std::wstring, std::wstring>>{{L"unload.exe", L"Tulvane Tessaline"}}));
  EXPECT_EQ(testing::MyCalls(), Calls{L"SignalStarted 72"});

  // The next run removes the second entry.
  RunUninstallFinisher({L"75"}, RecordingStart());
  EXPECT_FALSE(Slots().contains(75));
}

TEST_F(UninstallFinisherTest, WithoutEntryOrArgumentTheUninstallerStillStarts) {
  WriteSlot(73, L"\\Windows\\clock.exe");
  EXPECT_EQ(RunUninstallFinisher({}, RecordingStart(false)), 0);  // a failed start is not told
  EXPECT_EQ(started_.size(), 1u);
  EXPECT_EQ(Slots(), (setup::SlotTexts{{73, L"\\Windows\\clock.exe"}}));
  EXPECT_TRUE(testing::MyCalls().empty());
  EXPECT_TRUE(device::StartedSlots().empty());
}

// The stand-in uninstaller waits for this event before it records anything, so a finisher that
// waited for it would never end on its own.
class UnloadGate {
 public:
  UnloadGate() : event_(CreateEventW(nullptr, TRUE, FALSE, L"TessalineUnloadGo")) {}
  ~UnloadGate() { Open(); }
  void Open() { SetEvent(event_.Get()); }

 private:
  win32::KernelHandle event_;
};

std::wstring EnvironmentValue(const std::wstring& name) {
  std::wstring value(32767, L'\0');
  value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), 32767));
  return value;
}

// An environment variable set for the life of the scope (children inherit it).
class EnvironmentScope {
 public:
  EnvironmentScope(std::wstring name, const std::wstring& value)
      : name_(std::move(name)), old_(EnvironmentValue(name_)) {
    SetEnvironmentVariableW(name_.c_str(), value.c_str());
  }
  ~EnvironmentScope() {
    SetEnvironmentVariableW(name_.c_str(), old_.empty() ? nullptr : old_.c_str());
  }

 private:
  std::wstring name_;
  std::wstring old_;
};

TEST_F(UninstallFinisherTest, TheProgramStartsTheUninstallerWithoutWaitingForIt) {
  testing::TempDir folder;
  const std::wstring record = setup::Wide(folder.File("unload.txt"));
  const std::wstring standIn = testing::TestProgramFolder() + L"\\standin";
  EnvironmentScope path(L"PATH", standIn + L";" + EnvironmentValue(L"PATH"));
  EnvironmentScope recordName(L"TESSALINE_UNLOAD_RECORD", record);
  UnloadGate gate;
  WriteSlot(77, L"\\Program files\\Tessaline\\Afterboot.exe");

  const std::wstring program = testing::TestProgramFolder() + L"\\..\\..\\Afterboot\\Afterboot.exe";
  const auto run = testing::RunProgram(program, L"77", 20000);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_FALSE(std::filesystem::exists(record));  // the uninstaller is still waiting
  EXPECT_TRUE(Slots().empty());
  EXPECT_EQ(run.calls, Calls{L"SignalStarted 77"});

  gate.Open();
  std::string arguments;
  for (int round = 0; round < 400 && arguments.empty(); ++round) {
    Sleep(50);
    if (std::filesystem::exists(record)) arguments = testing::ReadBytes(setup::Narrow(record));
  }
  EXPECT_EQ(arguments, testing::TextBytes(L"Tulvane Tessaline", false));
}

}  // namespace
}  // namespace tessaline::afterboot
