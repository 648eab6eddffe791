// The start-up selector: its steps with a pause that records instead of waiting, and the real
// TSSelect.exe started as the device starts it, with the device's pauses shortened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../platform/DeviceFixture.h"
#include "SetupTestSupport.h"
#include "TSSelect/StartupSelector.h"
#include "platform/DeviceRecord.h"
#include "platform/DeviceServices.h"
#include "platform/DeviceState.h"

namespace tessaline::select {
namespace {

using testing::MyCalls;
using Calls = std::vector<std::wstring>;
using setup::kClass;
using testing::RegisteredClass;

const std::wstring kOther = L"{00000001-7E55-4A1B-9C3D-5E0F00000C01}";

class StartupSelectorTest : public setup::SetupTest {
 protected:
  // Every pause, and the calls made up to it, in order.
  Pause RecordingPause() {
    return [this](DWORD milliseconds) {
      pauses_.push_back(milliseconds);
      if (milliseconds == 40000 && takeOver_) {
        CLSID other = other_.Clsid();
        SipSetCurrentIM(&other);
      }
    };
  }

  RegisteredClass product_{kClass, L"TSInputM Class", L"Tessaline.dll"};
  RegisteredClass other_{kOther, L"Another keyboard", L"other.dll"};
  std::vector<DWORD> pauses_;
  bool takeOver_ = false;
};

TEST_F(StartupSelectorTest, SignalsTheSlotWaitsAndMakesTheInputMethodCurrent) {
  EXPECT_EQ(RunStartupSelector({L"73", L"ignored"}, RecordingPause()), 0);
  EXPECT_EQ(pauses_, (std::vector<DWORD>{20000, 40000}));
  // Still current at the second look: nothing more is done.
  EXPECT_EQ(MyCalls(),
            (Calls{L"SignalStarted 73", L"SipSetCurrentIM " + kClass, L"SipGetCurrentIM"}));
  EXPECT_EQ(device::StartedSlots(), std::vector<DWORD>{73});
  EXPECT_EQ(device::CurrentInputMethod(), product_.Clsid());
}

TEST_F(StartupSelectorTest, TakesTheDeviceBackFromAnotherInputMethod) {
  takeOver_ = true;
  EXPECT_EQ(RunStartupSelector({}, RecordingPause()), 0);  // no argument: no signal
  EXPECT_EQ(MyCalls(), (Calls{L"SipSetCurrentIM " + kClass, L"SipSetCurrentIM " + kOther,
                              L"SipGetCurrentIM", L"SipSetCurrentIM " + kClass}));
  EXPECT_TRUE(device::StartedSlots().empty());
  EXPECT_EQ(device::CurrentInputMethod(), product_.Clsid());
}

TEST_F(StartupSelectorTest, MakesTheSameCallsWhenTheInputMethodIsNotInstalled) {
  classKey_.Remove();
  EXPECT_EQ(RunStartupSelector({L"71"}, RecordingPause()), 0);
  EXPECT_EQ(pauses_.size(), 2u);
  // Nothing is current, so the second look tries once more.
  EXPECT_EQ(MyCalls(), (Calls{L"SignalStarted 71", L"SipSetCurrentIM " + kClass, L"SipGetCurrentIM",
                              L"SipSetCurrentIM " + kClass}));
  EXPECT_FALSE(device::CurrentInputMethod());
}

TEST_F(StartupSelectorTest, TheProgramRunsAsTheDeviceStartsIt) {
  device::SetPausePercent(0);
  const std::wstring program = testing::TestProgramFolder() + L"\\..\\..\\TSSelect\\TSSelect.exe";
  const auto run = testing::RunProgram(program, L"\"7\"4");  // quotes group and are removed
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.calls,
            (Calls{L"SignalStarted 74", L"SipSetCurrentIM " + kClass, L"SipGetCurrentIM"}));
  EXPECT_EQ(device::CurrentInputMethod(), product_.Clsid());
}

}  // namespace
}  // namespace tessaline::select
