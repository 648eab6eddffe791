// The device screen follows the device services: the input method another program makes
// current is switched to, SipShowIM from the input method shows or hides the panel, and the
// picker's choice is made through the device. Two input methods of the test stand in for real
// ones; their class objects are registered in the process, their classes in the registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../platform/DeviceFixture.h"
#include "platform/DeviceServices.h"
#include "platform/DeviceState.h"
#include "screen/DeviceLayout.h"
#include "screen/DeviceWnd.h"
#include "screen/Picker.h"
#include "win32/ComPtr.h"

namespace tessaline::emulator {
namespace {

using testing::DeviceStateScope;
using testing::RegisteredClass;

const wchar_t kFirstText[] = L"{6F1D2A10-51C4-4E9B-9A7E-1D0C5B7A2E01}";
const wchar_t kSecondText[] = L"{6F1D2A10-51C4-4E9B-9A7E-1D0C5B7A2E02}";

// Every call the panel makes on the two input methods, as "first Select", "second Showing".
std::vector<std::string> calls;

class FakeInputMethod final : public IInputMethod {
 public:
  explicit FakeInputMethod(std::string name) : name_(std::move(name)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IInputMethod) {
      *object = static_cast<IInputMethod*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Select(HWND) override { return Log("Select"); }
  HRESULT STDMETHODCALLTYPE Deselect() override { return Log("Deselect"); }
  HRESULT STDMETHODCALLTYPE Showing() override { return Log("Showing"); }
  HRESULT STDMETHODCALLTYPE Hiding() override { return Log("Hiding"); }
  HRESULT STDMETHODCALLTYPE GetInfo(IMINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ReceiveSipInfo(SIPINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RegisterCallback(IIMCallback*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetImData(DWORD, void*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetImData(DWORD, void*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UserOptionsDlg(HWND) override { return Log("UserOptionsDlg"); }

 private:
  HRESULT Log(const char* call) {
    calls.push_back(name_ + " " + call);
    return S_OK;
  }
  std::string name_;
  ULONG references_ = 1;
};

class FakeFactory final : public IClassFactory {
 public:
  explicit FakeFactory(std::string name) : name_(std::move(name)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    win32::ComPtr<FakeInputMethod> method;
    method.Attach(new FakeInputMethod(name_));
    return method->QueryInterface(iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  std::string name_;
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The bottom of the Notes box in device pixels.
LONG NotesBottom(const CDeviceWnd& device) {
  RECT notes{};
  GetWindowRect(device.Notes(), &notes);
  MapWindowPoints(nullptr, device.Handle(), reinterpret_cast<POINT*>(&notes), 2);
  return notes.bottom;
}

class DeviceFollowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    calls.clear();
    for (auto* entry : {&first_, &second_}) {
      ASSERT_EQ(CoRegisterClassObject(entry->clsid.Clsid(), &entry->factory, CLSCTX_INPROC_SERVER,
                                      REGCLS_MULTIPLEUSE, &entry->cookie),
                S_OK);
    }
  }
  void TearDown() override {
    for (auto* entry : {&first_, &second_}) CoRevokeClassObject(entry->cookie);
    CoUninitialize();
  }

  struct Entry {
    RegisteredClass clsid;
    FakeFactory factory;
    DWORD cookie = 0;
  };
  DeviceStateScope state_;
  Entry first_{RegisteredClass(kFirstText, L"First keyboard", L"first.dll"), FakeFactory("first")};
  Entry second_{RegisteredClass(kSecondText, L"Second keyboard", L"second.dll"),
                FakeFactory("second")};
};

TEST_F(DeviceFollowTest, FollowsTheCurrentInputMethodAndThePanelFlagsOfOtherCallers) {
  CLSID first = first_.clsid.Clsid(), second = second_.clsid.Clsid();
  ASSERT_TRUE(SipSetCurrentIM(&first));
  CDeviceWnd device;
  ASSERT_TRUE(device.Create(DeviceOptions{POINT{0, 0}, nullptr}));
  std::wstring error;
  ASSERT_TRUE(device.StartInputMethod(error)) << testing::Narrow(error);
  device.ShowPanel();
  Pump();
  EXPECT_EQ(calls, (std::vector<std::string>{"first Select", "first Showing"}));
  EXPECT_EQ(device::SipFlags() & SIPF_ON, SIPF_ON);
  // Once the panel is in place the application gives it room, and takes it back when it goes.
  RECT panel{};
  GetWindowRect(device.SipWindow(), &panel);
  MapWindowPoints(nullptr, device.Handle(), reinterpret_cast<POINT*>(&panel), 2);
  EXPECT_EQ(NotesBottom(device), panel.top);

  // Another program makes the second one current: the panel switches, shown as it was.
  calls.clear();
  ASSERT_TRUE(SipSetCurrentIM(&second));
  Pump();
  EXPECT_EQ(device.Host().Current(), second);
  EXPECT_EQ(calls, (std::vector<std::string>{"first Hiding", "first Deselect", "second Select",
                                             "second Showing"}));

  // The input method hides the panel (as the options' OK does), then someone shows it again.
  calls.clear();
  SipShowIM(SIPF_OFF);
  Pump();
  EXPECT_FALSE(device.Host().IsShown());
  EXPECT_FALSE(IsWindowVisible(device.SipWindow()));
  EXPECT_EQ(NotesBottom(device), kMenuBarTop);
  SipShowIM(SIPF_ON);
  Pump();
  EXPECT_TRUE(device.Host().IsShown());
  EXPECT_EQ(calls, (std::vector<std::string>{"second Hiding", "second Showing"}));

  // Stale notifications change nothing: the state is read when they arrive. The panel button
  // hides the panel through the device, and an old "shown" message is already out of date.
  calls.clear();
  SipShowIM(SIPF_ON);
  device.HidePanel();
  Pump();
  EXPECT_FALSE(device.Host().IsShown());
  EXPECT_EQ(device::SipFlags() & SIPF_ON, 0u);
  EXPECT_EQ(calls, (std::vector<std::string>{"second Hiding"}));
  device.Host().Deactivate();
}

TEST_F(DeviceFollowTest, ThePickerChoosesThroughTheDevice) {
  CLSID first = first_.clsid.Clsid();
  ASSERT_TRUE(SipSetCurrentIM(&first));
  CDeviceWnd device;
  ASSERT_TRUE(device.Create(DeviceOptions{POINT{0, 0}, nullptr}));
  std::wstring error;
  ASSERT_TRUE(device.StartInputMethod(error)) << testing::Narrow(error);

  // The picker lists the device's input methods; choosing the second one makes it current.
  device.OpenPicker();
  const auto methods = CreateDeviceDirectory()->Enumerate();
  size_t secondIndex = methods.size();
  for (size_t i = 0; i < methods.size(); ++i) {
    if (methods[i].clsid == second_.clsid.Clsid()) secondIndex = i;
  }
  ASSERT_LT(secondIndex, methods.size());
  EXPECT_EQ(methods[secondIndex].name, L"Second keyboard");
  SendMessageW(device.Handle(), WM_COMMAND,
               MAKEWPARAM(kPickInputMethod + static_cast<UINT>(secondIndex), 0), 0);
  Pump();
  EXPECT_EQ(device::CurrentInputMethod(), std::optional<CLSID>(second_.clsid.Clsid()));
  EXPECT_EQ(device.Host().Current(), second_.clsid.Clsid());
  EXPECT_EQ(device::DefaultInputMethod(), std::optional<CLSID>(second_.clsid.Clsid()));
  device.Host().Deactivate();
}

}  // namespace
}  // namespace tessaline::emulator
