// The device services of TSDevice.dll against the real registry under Wine: each call's effect on
// the device's state, its record, the emulator's notification, and a second process seeing the
// same device.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "DeviceFixture.h"
#include "platform/DeviceNotify.h"
#include "platform/DeviceRecord.h"
#include "platform/DeviceServices.h"
#include "platform/DeviceState.h"
#include "platform/Sip.h"

namespace tessaline::device {
namespace {

using testing::DeviceStateScope;
using testing::RegisteredClass;

const std::wstring kFirst = L"{0E5A7C11-3D2B-4A55-9C1E-7F00A1B2C301}";
const std::wstring kSecond = L"{0E5A7C11-3D2B-4A55-9C1E-7F00A1B2C302}";
const std::wstring kNotAnInputMethod = L"{0E5A7C11-3D2B-4A55-9C1E-7F00A1B2C303}";

using Calls = std::vector<std::wstring>;
using testing::MyCalls;

std::wstring HelperPath() { return testing::TestProgramFolder() + L"\\device_helper.exe"; }

// A window of the emulator's class that keeps every device change posted to it.
class EmulatorWindow {
 public:
  EmulatorWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kEmulatorWindowClass;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kEmulatorWindowClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~EmulatorWindow() { DestroyWindow(window_); }

  // The changes that arrived, oldest first. A change posted by another process may still be on
  // its way, so wait up to a few seconds for the number expected.
  std::vector<std::pair<WPARAM, LPARAM>> Changes(size_t expected = 0) {
    for (int round = 0; round < 100; ++round) {
      MSG message;
      while (PeekMessageW(&message, window_, 0, 0, PM_REMOVE)) {
        if (message.message == DeviceChangeMessage()) {
          changes_.emplace_back(message.wParam, message.lParam);
        }
      }
      if (changes_.size() >= expected) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    return changes_;
  }

 private:
  HWND window_ = nullptr;
  std::vector<std::pair<WPARAM, LPARAM>> changes_;
};

class DeviceServicesTest : public ::testing::Test {
 protected:
  DeviceStateScope device_;
  RegisteredClass first_{kFirst, L"First keyboard", L"first.dll"};
  RegisteredClass second_{kSecond, L"Second keyboard", L"second.dll"};
  RegisteredClass other_{kNotAnInputMethod, L"Not a keyboard", L"other.dll", false};
};

TEST_F(DeviceServicesTest, ShowingThePanelIsKeptRecordedAndAnnounced) {
  EmulatorWindow emulator;
  EXPECT_TRUE(SipShowIM(SIPF_ON));
  EXPECT_EQ(SipFlags(), SIPF_ON);
  EXPECT_TRUE(SipShowIM(SIPF_OFF));
  EXPECT_EQ(SipFlags(), SIPF_OFF);
  EXPECT_EQ(MyCalls(), (Calls{L"SipShowIM 1", L"SipShowIM 0"}));
  EXPECT_EQ(emulator.Changes(2),
            (std::vector<std::pair<WPARAM, LPARAM>>{{kPanelChanged, 1}, {kPanelChanged, 0}}));

  // The input method's tests read the same record through their own view of it, and clearing
  // it there forgets only the panel calls.
  SignalStarted(72);
  EXPECT_EQ(platform::SipShowIMCalls(), (std::vector<DWORD>{SIPF_ON, SIPF_OFF}));
  platform::ClearSipShowIMCalls();
  EXPECT_TRUE(platform::SipShowIMCalls().empty());
  EXPECT_EQ(MyCalls(), Calls{L"SignalStarted 72"});
}

TEST_F(DeviceServicesTest, MakingAnInputMethodCurrentRemembersTheUsersChoice) {
  EmulatorWindow emulator;
  CLSID clsid{};
  EXPECT_FALSE(SipGetCurrentIM(&clsid));  // a clean device has none yet
  EXPECT_EQ(clsid, CLSID{});

  CLSID wanted = second_.Clsid();
  EXPECT_TRUE(SipSetCurrentIM(&wanted));
  EXPECT_TRUE(SipGetCurrentIM(&clsid));
  EXPECT_EQ(clsid, wanted);
  EXPECT_EQ(testing::ReadRegistryValue(HKEY_CURRENT_USER, kSipKey, kDefaultImValue)->bytes,
            testing::TextBytes(kSecond));
  EXPECT_EQ(emulator.Changes(1), (std::vector<std::pair<WPARAM, LPARAM>>{{kCurrentImChanged, 0}}));

  // Only an installed input method can be made current; refused calls are recorded too.
  CLSID notInputMethod = other_.Clsid();
  EXPECT_FALSE(SipSetCurrentIM(&notInputMethod));
  EXPECT_FALSE(SipSetCurrentIM(nullptr));
  EXPECT_FALSE(SipGetCurrentIM(nullptr));
  EXPECT_EQ(CurrentInputMethod(), wanted);
  EXPECT_EQ(DefaultInputMethod(), wanted);
  EXPECT_EQ(MyCalls(), (Calls{L"SipGetCurrentIM", L"SipSetCurrentIM " + kSecond, L"SipGetCurrentIM",
                              L"SipSetCurrentIM " + kNotAnInputMethod, L"SipSetCurrentIM null",
                              L"SipGetCurrentIM"}));
}

TEST_F(DeviceServicesTest, EnumerationReportsEveryInputMethodInClassOrder) {
  // The value form of the marker counts as well as the subkey.
  testing::WriteRegistryValue(HKEY_CLASSES_ROOT, L"CLSID\\" + kNotAnInputMethod,
                              L"IsSIPInputMethod", REG_SZ, testing::TextBytes(L"1"));
  testing::WriteRegistryValue(HKEY_CLASSES_ROOT, L"CLSID\\" + kFirst, L"", REG_SZ,
                              testing::TextBytes(std::wstring(300, L'n')));
  static std::vector<std::pair<std::wstring, std::wstring>> seen;
  seen.clear();
  const int count = SipEnumIM([](IMENUMINFO* info) {
    seen.emplace_back(ClassText(info->clsid), info->szName);
    return 1;
  });
  std::vector<std::pair<std::wstring, std::wstring>> ours;
  for (const auto& entry : seen) {
    if (entry.first.starts_with(L"{0E5A7C11-")) ours.push_back(entry);
  }
  EXPECT_EQ(ours, (std::vector<std::pair<std::wstring, std::wstring>>{
                      {kFirst, std::wstring(MAX_PATH - 1, L'n')},  // cut for display, terminated
                      {kSecond, L"Second keyboard"},
                      {kNotAnInputMethod, L"Not a keyboard"}}));
  EXPECT_EQ(count, static_cast<int>(seen.size()));
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_LT(seen[i - 1].first, seen[i].first);

  // Returning 0 ends the enumeration after that input method.
  EXPECT_EQ(SipEnumIM([](IMENUMINFO*) { return 0; }), 1);
  EXPECT_EQ(SipEnumIM(nullptr), 0);
}

TEST_F(DeviceServicesTest, TheSoftResetRequestAndTheStartUpSignalAreKept) {
  EmulatorWindow emulator;
  DWORD returned = 7;
  EXPECT_FALSE(KernelIoControl(0x01010001, nullptr, 0, nullptr, 0, &returned));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(returned, 0u);
  EXPECT_FALSE(SoftResetRequested());
  EXPECT_TRUE(KernelIoControl(IOCTL_HAL_REBOOT, nullptr, 0, nullptr, 0, nullptr));
  EXPECT_TRUE(SoftResetRequested());
  SignalStarted(74);
  SignalStarted(71);
  EXPECT_EQ(StartedSlots(), (std::vector<DWORD>{71, 74}));
  EXPECT_EQ(MyCalls(), (Calls{L"KernelIoControl 0x01010001", L"KernelIoControl 0x0101003C",
                              L"SignalStarted 74", L"SignalStarted 71"}));
  EXPECT_EQ(emulator.Changes(3),
            (std::vector<std::pair<WPARAM, LPARAM>>{
                {kSoftResetRequested, 0}, {kStartedSignalled, 74}, {kStartedSignalled, 71}}));
}

TEST_F(DeviceServicesTest, TheDeviceStartsWithTheUsersChoice) {
  CLSID first = first_.Clsid();
  ASSERT_TRUE(SipSetCurrentIM(&first));
  ASSERT_TRUE(KernelIoControl(IOCTL_HAL_REBOOT, nullptr, 0, nullptr, 0, nullptr));
  SignalStarted(71);
  SipShowIM(SIPF_ON);
  testing::WriteRegistryValue(HKEY_CURRENT_USER, kSipKey, kDefaultImValue, REG_SZ,
                              testing::TextBytes(L"{0e5a7c11-3d2b-4a55-9c1e-7f00a1b2c302}"));
  BeginDeviceStart();
  EXPECT_EQ(CurrentInputMethod(), second_.Clsid());
  EXPECT_FALSE(SoftResetRequested());
  EXPECT_TRUE(StartedSlots().empty());
  EXPECT_EQ(SipFlags(), SIPF_OFF);

  // A choice that is no longer installed leaves the current input method as it was.
  testing::WriteRegistryValue(HKEY_CURRENT_USER, kSipKey, kDefaultImValue, REG_SZ,
                              testing::TextBytes(kNotAnInputMethod.substr(0, 20)));
  BeginDeviceStart();
  EXPECT_EQ(CurrentInputMethod(), second_.Clsid());
}

TEST(DeviceClassTextTest, ClassIdentifiersReadOnlyInTheirWholeForm) {
  const CLSID clsid = ClassFromText(L"{d29b81cd-2716-464c-ae72-61c143a16307}").value();
  EXPECT_EQ(ClassText(clsid), L"{D29B81CD-2716-464C-AE72-61C143A16307}");
  for (const wchar_t* bad :
       {L"{D29B81CD-2716-464C-AE72-61C143A1630}", L"{D29B81CD-2716-464C-AE72-61C143A163077}",
        L"{D29B81CD+2716-464C-AE72-61C143A16307}", L"{D29B81CD-2716-464C-AE72-61C143A1630G}"}) {
    EXPECT_FALSE(ClassFromText(bad)) << testing::Narrow(bad);
  }
}

// Two processes see one device: what one makes current the other reads, each one's calls are
// recorded under its own process, and a change made by the other reaches the emulator too.
TEST_F(DeviceServicesTest, AnotherProcessSeesTheSameDevice) {
  EmulatorWindow emulator;
  CLSID first = first_.Clsid();
  ASSERT_TRUE(SipSetCurrentIM(&first));
  EXPECT_EQ(testing::RunProgram(HelperPath(), L"expect " + kFirst).exitCode, 0u);

  const auto run = testing::RunProgram(HelperPath(), L"set " + kSecond);
  EXPECT_EQ(run.exitCode, 0u);
  CLSID current{};
  EXPECT_TRUE(SipGetCurrentIM(&current));
  EXPECT_EQ(current, second_.Clsid());
  EXPECT_EQ(run.calls, Calls{L"SipSetCurrentIM " + kSecond});

  const auto signal = testing::RunProgram(HelperPath(), L"signal 76");
  EXPECT_EQ(StartedSlots(), std::vector<DWORD>{76});
  EXPECT_EQ(signal.calls, Calls{L"SignalStarted 76"});
  EXPECT_EQ(testing::RunProgram(HelperPath(), L"reboot").exitCode, 0u);
  EXPECT_TRUE(SoftResetRequested());
  EXPECT_EQ(emulator.Changes(4),
            (std::vector<std::pair<WPARAM, LPARAM>>{{kCurrentImChanged, 0},
                                                    {kCurrentImChanged, 0},
                                                    {kStartedSignalled, 76},
                                                    {kSoftResetRequested, 0}}));
}

}  // namespace
}  // namespace tessaline::device
