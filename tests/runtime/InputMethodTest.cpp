// The input method as the soft input panel sees it: registered by regsvr32 in the test prefix,
// created through COM by its class and by its program identifier, and driven through
// IInputMethod with a panel window and a callback that records every call.
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>
// The image list declarations build on <windows.h>.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include <cstring>
#include <functional>
#include <thread>

#include "../settings/RegistrySnapshot.h"
#include "ComTestSupport.h"
#include "panel/PanelFile.h"
#include "platform/Sip.h"
#include "system/ProductIds.h"
#include "textfile/TextFile.h"
#include "win32/ComPtr.h"

namespace tessaline {
namespace {

using testing::ReadRegistryKey;
using testing::SipCallback;
using testing::SipWindow;
using testing::TextBytes;

constexpr CLSID kClass = kInputMethodClsid;
constexpr IID kITSInputM = {
    0x9AEFA2FB, 0x897D, 0x46C5, {0x83, 0x50, 0xFA, 0x8B, 0xBC, 0xDE, 0x33, 0x2F}};
constexpr const wchar_t* kClassKey = kInputMethodClassKey;

// The panel height the shipped panel gives a layout at a width, read from the file itself.
int ShippedPanelHeight(const char* layout, int width) {
  const TextSection root =
      ReadTextFile(std::string(TESSALINE_SOURCE_DIR) + "/data/Layouts/compact_white.pan");
  return PanelHeightOf(root, layout, width);
}

// The centre of a button of a shipped layout on a panel 240 pixels wide, from the panel file.
POINT ShippedButtonCentre(const char* layout, int id) {
  const std::string path = std::string(TESSALINE_SOURCE_DIR) + "/data/Layouts/compact_white.pan";
  const TextSection root = ReadTextFile(path);
  Skin skin;
  skin.Read(root, path);
  Panel panel;
  panel.SetSkin(&skin);
  panel.LoadLayout(root, layout);
  panel.SetSize(240, PanelHeightOf(root, layout, 240));
  const Button* button = panel.FindButton(id);
  EXPECT_NE(button, nullptr) << "button " << id << " of " << layout;
  if (!button) return POINT{};
  const PixelRect rect = panel.ButtonRect(*button);
  return POINT{rect.left + rect.width / 2, rect.top + rect.height / 2};
}

void Tap(HWND window, POINT at) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

// Runs the thread's messages (the input window's timers among them) until the condition holds
// or two seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    testing::PumpMessages();
    Sleep(10);
  }
  return done();
}

std::string DefaultText(HKEY root, const std::wstring& key) {
  const auto value = testing::ReadRegistryValue(root, key, L"");
  return value ? value->bytes : std::string("(missing)");
}

class InputMethodTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }

  InputMethodTest() { testing::InstallProduct(); }
  ~InputMethodTest() override {
    method_.Reset();
    CoFreeUnusedLibrariesEx(0, 0);
  }

  IInputMethod* Create() {
    EXPECT_EQ(CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IID_IInputMethod,
                               reinterpret_cast<void**>(method_.Put())),
              S_OK);
    return method_.Get();
  }

  // The class key as it was, put back after the test (settings of other suites included).
  testing::RegistrySnapshot classKey_{HKEY_CLASSES_ROOT, kClassKey};
  win32::ComPtr<IInputMethod> method_;
};

TEST_F(InputMethodTest, RegistrationWritesEveryKeyAndRemovesThemAll) {
  const std::wstring library = testing::InstallFolder() + L"\\Tessaline.dll";
  EXPECT_EQ(DefaultText(HKEY_CLASSES_ROOT, L"Tessaline.TSInputM.1"), TextBytes(L"TSInputM Class"));
  EXPECT_EQ(DefaultText(HKEY_CLASSES_ROOT, L"Tessaline.TSInputM.1\\CLSID"),
            TextBytes(kInputMethodClassId));
  EXPECT_EQ(DefaultText(HKEY_CLASSES_ROOT, L"Tessaline.TSInputM"), TextBytes(L"TSInputM Class"));
  EXPECT_EQ(DefaultText(HKEY_CLASSES_ROOT, L"Tessaline.TSInputM\\CLSID"),
            TextBytes(kInputMethodClassId));
  EXPECT_EQ(DefaultText(HKEY_CLASSES_ROOT, L"Tessaline.TSInputM\\CurVer"),
            TextBytes(L"Tessaline.TSInputM.1"));

  const auto classKey = ReadRegistryKey(HKEY_CLASSES_ROOT, kClassKey);
  ASSERT_TRUE(classKey);
  EXPECT_EQ(classKey->values.at(L"").bytes, TextBytes(L"TSInputM Class"));
  EXPECT_EQ(classKey->values.at(L"Desc").bytes, TextBytes(L"Tessaline input method"));
  EXPECT_EQ(classKey->values.at(L"Path").bytes, TextBytes(L"\\Program files\\Tessaline"));
  const auto& sub = classKey->subkeys;
  EXPECT_EQ(sub.at(L"ProgID").values.at(L"").bytes, TextBytes(L"Tessaline.TSInputM.1"));
  EXPECT_EQ(sub.at(L"VersionIndependentProgID").values.at(L"").bytes,
            TextBytes(L"Tessaline.TSInputM"));
  EXPECT_TRUE(sub.count(L"Programmable"));
  EXPECT_EQ(sub.at(L"InprocServer32").values.at(L"").bytes, TextBytes(library));
  EXPECT_EQ(sub.at(L"InprocServer32").values.at(L"ThreadingModel").bytes, TextBytes(L"Free"));
  EXPECT_EQ(sub.at(L"TypeLib").values.at(L"").bytes,
            TextBytes(L"{793AF27C-9A12-4C8F-AC9C-05CAA5D0C6BC}"));
  EXPECT_EQ(sub.at(L"IsSIPInputMethod").values.at(L"").bytes, TextBytes(L"1"));
  EXPECT_EQ(DefaultText(HKEY_CLASSES_ROOT, L"AppID\\{75EE3702-4D8E-416A-96AB-F736052FE084}"),
            TextBytes(L"Tessaline"));
  EXPECT_EQ(testing::ReadRegistryValue(HKEY_CLASSES_ROOT, L"AppID\\Tessaline.DLL", L"AppID")->bytes,
            TextBytes(L"{75EE3702-4D8E-416A-96AB-F736052FE084}"));
  EXPECT_TRUE(
      ReadRegistryKey(HKEY_CLASSES_ROOT, L"TypeLib\\{793AF27C-9A12-4C8F-AC9C-05CAA5D0C6BC}"));

  // Settings stored in the class key survive a second registration...
  testing::WriteRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"NoiseGate", REG_DWORD,
                              testing::NumberBytes(50));
  ASSERT_EQ(testing::RegisterProduct(), 0);
  EXPECT_TRUE(testing::ReadRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"NoiseGate"));

  // ...and go with the class key when the library is unregistered; nothing else stays.
  ASSERT_EQ(testing::UnregisterProduct(), 0);
  for (const wchar_t* key :
       {L"Tessaline.TSInputM.1", L"Tessaline.TSInputM", kClassKey,
        L"AppID\\{75EE3702-4D8E-416A-96AB-F736052FE084}", L"AppID\\Tessaline.DLL",
        L"TypeLib\\{793AF27C-9A12-4C8F-AC9C-05CAA5D0C6BC}",
        L"Interface\\{9AEFA2FB-897D-46C5-8350-FA8BBCDE332F}"}) {
    EXPECT_FALSE(ReadRegistryKey(HKEY_CLASSES_ROOT, key)) << std::string(key, key + wcslen(key));
  }
  // Unregistering what is not registered is no failure.
  EXPECT_EQ(testing::UnregisterProduct(), 0);
}

TEST_F(InputMethodTest, CreatedByClassAndByProgramIdentifierAnsweringItsInterfacesInOrder) {
  CLSID byName{};
  ASSERT_EQ(CLSIDFromProgID(L"Tessaline.TSInputM", &byName), S_OK);
  EXPECT_EQ(byName, kClass);
  ASSERT_EQ(CLSIDFromProgID(L"Tessaline.TSInputM.1", &byName), S_OK);
  EXPECT_EQ(byName, kClass);

  win32::ComPtr<IUnknown> unknown;
  ASSERT_EQ(CoCreateInstance(byName, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(unknown.Put())),
            S_OK);
  win32::ComPtr<IUnknown> typed;  // ITSInputM, whose declarations this test does not need
  win32::ComPtr<IDispatch> dispatch;
  win32::ComPtr<IInputMethod> method;
  ASSERT_EQ(unknown->QueryInterface(kITSInputM, reinterpret_cast<void**>(typed.Put())),
            S_OK);
  ASSERT_EQ(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Put())),
            S_OK);
  ASSERT_EQ(
      unknown->QueryInterface(IID_IInputMethod, reinterpret_cast<void**>(method.Put())),
      S_OK);
  // IUnknown, ITSInputM and IDispatch are one face of the object; IInputMethod another.
  EXPECT_EQ(static_cast<void*>(typed.Get()), static_cast<void*>(unknown.Get()));
  EXPECT_EQ(static_cast<void*>(dispatch.Get()), static_cast<void*>(unknown.Get()));
  EXPECT_NE(static_cast<void*>(method.Get()), static_cast<void*>(unknown.Get()));
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(unknown->QueryInterface(IID_IClassFactory, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);

  // The dispatch part serves the type library's ITSInputM.
  IDispatch* automation = dispatch.Get();
  UINT count = 0;
  EXPECT_EQ(automation->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  win32::ComPtr<ITypeInfo> info;
  ASSERT_EQ(automation->GetTypeInfo(0, 0, info.Put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->guid, kITSInputM);
  info->ReleaseTypeAttr(attributes);
  EXPECT_EQ(automation->GetTypeInfo(1, 0, info.Put()), DISP_E_BADINDEX);

  typed.Reset();
  dispatch.Reset();
  method.Reset();

  // While the object lives the library must stay; after the last release it may go.
  const HMODULE module = GetModuleHandleW(L"Tessaline.dll");
  ASSERT_NE(module, nullptr);
  const auto canUnload =
      reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module, "DllCanUnloadNow"));
  ASSERT_NE(canUnload, nullptr);
  EXPECT_EQ(canUnload(), S_FALSE);
  unknown.Reset();
  EXPECT_EQ(canUnload(), S_OK);

  win32::ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(kClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(factory.Put())),
            S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(canUnload(), S_FALSE);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(canUnload(), S_OK);
  // Aggregation is refused.
  IUnknown* inner = nullptr;
  EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_IUnknown,
                                    reinterpret_cast<void**>(&inner)),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(inner, nullptr);
  factory.Reset();
  // Another class is not served.
  const auto getClass = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      GetProcAddress(module, "DllGetClassObject"));
  void* other = nullptr;
  EXPECT_EQ(getClass(IID_IInputMethod, IID_IClassFactory, &other), CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(InputMethodTest, InformationBeforeSelectAndTheFixedAnswers) {
  IInputMethod* method = Create();
  ASSERT_TRUE(method);
  // Before Select the panel's rectangle is unknown and there is no icon list yet: only the size,
  // the (null) icon list and the flags are written, the rest stays as the caller had it.
  IMINFO info;
  std::memset(&info, 0xAB, sizeof info);
  IMINFO untouched = info;
  ASSERT_EQ(method->GetInfo(&info), S_OK);
  EXPECT_EQ(info.cbSize, 40u);
  EXPECT_EQ(info.hImageNarrow, nullptr);
  EXPECT_EQ(info.fdwFlags, SIPF_ON | SIPF_DOCKED);
  EXPECT_EQ(info.hImageWide, untouched.hImageWide);
  EXPECT_EQ(info.iNarrow, untouched.iNarrow);
  EXPECT_EQ(std::memcmp(&info.rcSipRect, &untouched.rcSipRect, sizeof(RECT)), 0);
  EXPECT_EQ(method->GetInfo(nullptr), E_POINTER);

  SIPINFO sip{};
  sip.fdwFlags = SIPF_ON | SIPF_LOCKED;
  EXPECT_EQ(method->ReceiveSipInfo(&sip), S_OK);
  EXPECT_EQ(sip.fdwFlags, SIPF_ON | SIPF_LOCKED | SIPF_DISABLECOMPLETION);
  EXPECT_EQ(method->ReceiveSipInfo(&sip), S_OK);
  EXPECT_EQ(sip.fdwFlags, SIPF_ON | SIPF_LOCKED | SIPF_DISABLECOMPLETION);

  char data[4] = {};
  EXPECT_EQ(method->GetImData(sizeof data, data), E_NOTIMPL);
  EXPECT_EQ(method->GetImData(0, nullptr), E_POINTER);
  EXPECT_EQ(method->SetImData(sizeof data, data), E_NOTIMPL);
  EXPECT_EQ(method->SetImData(0, nullptr), E_NOTIMPL);
}

TEST_F(InputMethodTest, ShowingSizesThePanelAndTellsTheCallback) {
  IInputMethod* method = Create();
  ASSERT_TRUE(method);
  SipWindow sip;
  SipCallback callback;
  ASSERT_EQ(method->Select(sip.Get()), S_OK);
  ASSERT_EQ(method->RegisterCallback(&callback), S_OK);
  EXPECT_TRUE(callback.calls.empty());
  ASSERT_EQ(method->Showing(), S_OK);

  const int height = ShippedPanelHeight("main", 240);
  ASSERT_GT(height, 0);
  const HWND input = sip.InputWindow();
  ASSERT_NE(input, nullptr);
  RECT client{};
  GetClientRect(input, &client);
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, height);
  EXPECT_EQ(GetWindowLongW(input, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);

  ASSERT_EQ(callback.calls, (std::vector<std::string>{"SetImInfo"}));
  const IMINFO& info = callback.infos[0];
  EXPECT_EQ(info.cbSize, 40u);
  EXPECT_NE(info.hImageNarrow, nullptr);
  EXPECT_EQ(info.hImageWide, nullptr);
  EXPECT_EQ(info.iNarrow, 0);
  EXPECT_EQ(info.fdwFlags, SIPF_ON | SIPF_DOCKED);
  EXPECT_EQ(info.rcSipRect.left, 0);
  EXPECT_EQ(info.rcSipRect.right, 240);
  EXPECT_EQ(info.rcSipRect.bottom, 320);
  EXPECT_EQ(info.rcSipRect.top, 320 - height);
  // The icon list holds the 16 by 16 taskbar icon.
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(static_cast<HIMAGELIST>(info.hImageNarrow), &cx, &cy));
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  EXPECT_EQ(ImageList_GetImageCount(static_cast<HIMAGELIST>(info.hImageNarrow)), 1);

  // GetInfo after Select fills the whole structure from the panel's rectangle.
  IMINFO again;
  std::memset(&again, 0xAB, sizeof again);
  ASSERT_EQ(method->GetInfo(&again), S_OK);
  EXPECT_EQ(std::memcmp(&again.rcSipRect, &info.rcSipRect, sizeof(RECT)), 0);
  EXPECT_EQ(again.hImageWide, nullptr);
  EXPECT_EQ(again.iWide, 0);

  // Shown again without a change of settings: the same window, no new size.
  ASSERT_EQ(method->Hiding(), S_OK);
  ASSERT_EQ(method->Showing(), S_OK);
  EXPECT_EQ(sip.InputWindow(), input);
  EXPECT_EQ(callback.calls.size(), 1u);

  // Deselect saves the settings and takes the window away. Nothing was changed here, so nothing
  // is written: values another program stored meanwhile stay as they are.
  testing::WriteRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"NoiseGate", REG_DWORD,
                              testing::NumberBytes(70));
  ASSERT_EQ(method->Deselect(), S_OK);
  EXPECT_EQ(sip.InputWindow(), nullptr);
  EXPECT_FALSE(testing::ReadRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"ActiveLayout"));
  EXPECT_EQ(testing::ReadRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"NoiseGate")->bytes,
            testing::NumberBytes(70));
}

// What the options sheet's OK leaves behind in another process: a new stored counter, with the
// settings it saved.
void RaiseStoredCounter(DWORD counter) {
  testing::WriteRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"UpdateCounter", REG_DWORD,
                              testing::NumberBytes(counter));
}

TEST_F(InputMethodTest, AChangedCounterKeepsTheWindowOrMakesItAnewAtAnotherWidth) {
  IInputMethod* method = Create();
  ASSERT_TRUE(method);
  SipWindow sip;
  SipCallback callback;
  method->Select(sip.Get());
  method->RegisterCallback(&callback);
  method->Showing();
  const HWND first = sip.InputWindow();
  ASSERT_NE(first, nullptr);
  RaiseStoredCounter(7);
  method->Hiding();
  method->Showing();
  EXPECT_EQ(sip.InputWindow(), first);
  EXPECT_EQ(callback.calls, (std::vector<std::string>{"SetImInfo", "SetImInfo"}));

  // A layout of another height chosen: the kept window takes it, and the panel is told.
  testing::WriteRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"ActiveLayout", REG_SZ,
                              TextBytes(L"userpad"));
  RaiseStoredCounter(8);
  method->Hiding();
  method->Showing();
  ASSERT_EQ(sip.InputWindow(), first);
  const int height = ShippedPanelHeight("userpad", 240);
  ASSERT_NE(height, ShippedPanelHeight("main", 240));
  RECT client{};
  GetClientRect(first, &client);
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, height);
  ASSERT_EQ(callback.infos.size(), 3u);
  EXPECT_EQ(callback.infos[2].rcSipRect.top, 320 - height);

  // The panel window of another width: the window is made anew at that width.
  RECT panel{};
  GetWindowRect(sip.Get(), &panel);
  MoveWindow(sip.Get(), panel.left, panel.top, 200, panel.bottom - panel.top, FALSE);
  RaiseStoredCounter(9);
  method->Hiding();
  method->Showing();
  const HWND second = sip.InputWindow();
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsWindow(first));
  GetClientRect(second, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(callback.calls.size(), 4u);
  method->Deselect();
}

TEST_F(InputMethodTest, CallsInAnOrderThePanelShouldNotUseAreHarmless) {
  IInputMethod* method = Create();
  ASSERT_TRUE(method);
  SipCallback callback;
  method->RegisterCallback(&callback);
  // Showing before Select: there is no panel window to build in.
  EXPECT_EQ(method->Showing(), S_OK);
  EXPECT_TRUE(callback.calls.empty());
  EXPECT_EQ(method->Hiding(), S_OK);
  EXPECT_EQ(method->Deselect(), S_OK);
  EXPECT_EQ(method->Deselect(), S_OK);

  SipWindow sip;
  method->Select(sip.Get());
  method->Select(sip.Get());
  method->RegisterCallback(&callback);
  method->Showing();
  ASSERT_NE(sip.InputWindow(), nullptr);
  // A callback taken back with null, or by Deselect, is never called again.
  method->RegisterCallback(nullptr);
  callback.forbidden = true;
  method->Hiding();
  method->Showing();
  method->Deselect();
  method->Select(sip.Get());
  method->Showing();
  EXPECT_NE(sip.InputWindow(), nullptr);
  method->Deselect();
  EXPECT_EQ(callback.calls.size(), 1u);
}

TEST_F(InputMethodTest, HidingDropsTheWordButKeepsLayoutModeAndCase) {
  IInputMethod* method = Create();
  ASSERT_TRUE(method);
  SipWindow sip;
  SipCallback callback;
  method->Select(sip.Get());
  method->RegisterCallback(&callback);
  method->Showing();
  const HWND input = sip.InputWindow();
  ASSERT_NE(input, nullptr);

  // A word being composed (keys 4 and 3) is dropped by Hiding: Enter afterwards is a plain Enter,
  // not the commit of a word.
  Tap(input, ShippedButtonCentre("main", 4));
  Tap(input, ShippedButtonCentre("main", 3));
  method->Hiding();
  method->Showing();
  ASSERT_EQ(sip.InputWindow(), input);
  callback.calls.clear();
  Tap(input, ShippedButtonCentre("main", 11));
  EXPECT_EQ(callback.calls,
            (std::vector<std::string>{"SendVirtualKey:13:0", "SendVirtualKey:13:2"}));

  // Letter mode and capitals survive Hiding and Showing.
  Tap(input, ShippedButtonCentre("main", 15));
  Tap(input, ShippedButtonCentre("main", 14));
  method->Hiding();
  method->Showing();
  callback.calls.clear();
  Tap(input, ShippedButtonCentre("main", 2));
  EXPECT_EQ(callback.calls, (std::vector<std::string>{"SendString:A"}));
  method->Deselect();
}

TEST_F(InputMethodTest, ASlideToAnotherLayoutReportsItsHeightAndSavesIt) {
  IInputMethod* method = Create();
  ASSERT_TRUE(method);
  SipWindow sip;
  SipCallback callback;
  method->Select(sip.Get());
  method->RegisterCallback(&callback);
  method->Showing();
  const HWND input = sip.InputWindow();
  ASSERT_NE(input, nullptr);
  // The finger moves to the right across the panel: the view slides to "userpad".
  const int mainHeight = ShippedPanelHeight("main", 240);
  SendMessageW(input, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, mainHeight / 2));
  SendMessageW(input, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, mainHeight / 2));
  SendMessageW(input, WM_LBUTTONUP, 0, MAKELPARAM(230, mainHeight / 2));
  ASSERT_TRUE(PumpUntil([&] { return callback.infos.size() == 2; }));

  const int height = ShippedPanelHeight("userpad", 240);
  ASSERT_NE(height, mainHeight);
  const IMINFO& info = callback.infos[1];
  EXPECT_EQ(info.rcSipRect.bottom, 320);
  EXPECT_EQ(info.rcSipRect.top, 320 - height);
  RECT client{};
  GetClientRect(input, &client);
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, height);
  EXPECT_EQ(testing::ReadRegistryValue(HKEY_CLASSES_ROOT, kClassKey, L"ActiveLayout")
                ->bytes.substr(0, 16),
            TextBytes(L"userpad"));
  method->Deselect();

  // The next time the panel is made, it starts on the saved layout at its height.
  SipCallback next;
  method->Select(sip.Get());
  method->RegisterCallback(&next);
  method->Showing();
  ASSERT_EQ(next.infos.size(), 1u);
  EXPECT_EQ(next.infos[0].rcSipRect.top, 320 - height);
  method->Deselect();
}

TEST_F(InputMethodTest, ShowingAfterTheOptionsClosedWithOkKeepsTheWindow) {
  IInputMethod* method = Create();
  ASSERT_TRUE(method);
  SipWindow sip;
  SipCallback callback;
  method->Select(sip.Get());
  method->RegisterCallback(&callback);
  method->Showing();
  const HWND first = sip.InputWindow();
  ASSERT_NE(first, nullptr);

  // A person opens the options and closes them with OK, changing nothing.
  platform::ClearSipShowIMCalls();
  std::thread person([] {
    for (int i = 0; i < 500; ++i) {
      if (const HWND sheet = FindWindowW(nullptr, L"Options")) {
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return;
      }
      Sleep(20);
    }
  });
  EXPECT_EQ(method->UserOptionsDlg(sip.Get()), S_OK);
  person.join();
  // The sheet hid the panel.
  EXPECT_EQ(platform::SipShowIMCalls(), std::vector<DWORD>{SIPF_OFF});

  method->Hiding();
  method->Showing();
  EXPECT_EQ(sip.InputWindow(), first);
  EXPECT_EQ(callback.calls, (std::vector<std::string>{"SetImInfo", "SetImInfo"}));
  method->Deselect();
}

}  // namespace
}  // namespace tessaline
