// The device's start-up sequence with a launcher that records what it starts and lets the test
// decide which programs signal, end, or take their time; and the launch slots it reads.
#include <gtest/gtest.h>

#include <set>

#include "../platform/DeviceFixture.h"
#include "CleanDevice.h"
#include "device/StartupSequence.h"
#include "system/WideText.h"

namespace tessaline::emulator::testing {
namespace {

using Strings = std::vector<std::string>;

class FakeLauncher final : public StartupLauncher {
 public:
  bool Start(const LaunchEntry& entry) override {
    started.push_back(std::to_string(entry.slot) + " " + WideToUtf8(entry.program));
    ended = false;
    return !unstartable.contains(entry.slot);
  }
  bool HasSignalled(int slot) override { return signalled.contains(slot); }
  bool HasEnded() override { return ended; }
  DWORD Now() override { return now; }

  Strings started;
  std::set<int> signalled, unstartable;
  bool ended = false;
  DWORD now = 1000;
};

class StartupSequenceTest : public ::testing::Test {
 protected:
  StartupSequence Sequence(std::vector<LaunchEntry> entries) {
    return StartupSequence(launcher_, std::move(entries), 5000,
                           [this](const std::string& line) { report_.push_back(line); });
  }
  FakeLauncher launcher_;
  Strings report_;
};

TEST_F(StartupSequenceTest, EachProgramStartsOnlyAfterTheOneBeforeSignalled) {
  auto sequence = Sequence({{71, L"\\a.exe"}, {73, L"\\b.exe"}, {78, L"\\c.exe"}});
  sequence.Advance();
  EXPECT_EQ(launcher_.started, Strings{"71 \\a.exe"});
  launcher_.now += 4999;
  sequence.Advance();
  EXPECT_EQ(launcher_.started.size(), 1u);

  launcher_.signalled = {71, 73};  // the second signals as soon as it runs
  sequence.Advance();
  EXPECT_EQ(launcher_.started, (Strings{"71 \\a.exe", "73 \\b.exe", "78 \\c.exe"}));
  EXPECT_FALSE(sequence.IsDone());
  launcher_.signalled.insert(78);
  sequence.Advance();
  EXPECT_TRUE(sequence.IsDone());
  EXPECT_EQ(report_,
            (Strings{"start-up: slot 71: started \\a.exe", "start-up: slot 73: started \\b.exe",
                     "start-up: slot 78: started \\c.exe"}));
}

TEST_F(StartupSequenceTest, SilentEndedAndUnstartableProgramsDoNotHoldTheDeviceUp) {
  launcher_.unstartable = {72};
  auto sequence = Sequence({{71, L"\\silent.exe"}, {72, L"\\missing.exe"}, {74, L"\\quits.exe"}});
  sequence.Advance();
  launcher_.now += 5000;  // the time-out
  sequence.Advance();
  EXPECT_EQ(launcher_.started, (Strings{"71 \\silent.exe", "72 \\missing.exe", "74 \\quits.exe"}));
  EXPECT_FALSE(sequence.IsDone());
  launcher_.ended = true;
  sequence.Advance();
  EXPECT_TRUE(sequence.IsDone());
  EXPECT_EQ(
      report_,
      (Strings{"start-up: slot 71: started \\silent.exe",
               "start-up: slot 71: no start-up signal from \\silent.exe within 5000 ms; going on",
               "start-up: slot 72: cannot start \\missing.exe",
               "start-up: slot 74: started \\quits.exe",
               "start-up: slot 74: \\quits.exe ended without its start-up signal"}));
}

TEST_F(StartupSequenceTest, ATickCountThatWrapsStillTimesOut) {
  launcher_.now = 0xFFFFF000;
  auto sequence = Sequence({{71, L"\\a.exe"}, {72, L"\\b.exe"}});
  sequence.Advance();
  launcher_.now += 6000;  // past zero
  sequence.Advance();
  EXPECT_EQ(launcher_.started.size(), 2u);
}

class LaunchSlotsTest : public CleanDevice {};

TEST_F(LaunchSlotsTest, OnlySlotsNamingAProgramAreRunInSlotOrder) {
  using tessaline::testing::TextBytes;
  using tessaline::testing::WriteRegistryValue;
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch78", REG_SZ, TextBytes(L"\\last.exe"));
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch72", REG_SZ, TextBytes(L"\\first.exe"));
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch73", REG_SZ, TextBytes(L""));
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch74", REG_DWORD,
                     tessaline::testing::NumberBytes(5));
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch70", REG_SZ, TextBytes(L"\\other.exe"));
  EXPECT_EQ(ReadLaunchEntries(),
            (std::vector<LaunchEntry>{{72, L"\\first.exe"}, {78, L"\\last.exe"}}));
  RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"init", L"Launch70");
}

}  // namespace
}  // namespace tessaline::emulator::testing
