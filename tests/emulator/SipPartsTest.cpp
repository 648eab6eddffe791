// The soft input panel's parts that the input method talks to, without starting the emulator:
// the callback's checks of what it is given, the panel rectangle's fit on the screen, and key
// delivery to a real edit control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/DeviceLayout.h"
#include "sip/ImCallback.h"
#include "sip/KeyDelivery.h"
#include "sip/SipHost.h"

namespace tessaline::emulator {
namespace {

class RecordingSink final : public CallbackSink {
 public:
  void OnSetImInfo(const IMINFO& info) override { rects.push_back(info.rcSipRect); }
  void OnSendVirtualKey(BYTE vk, bool release) override { keys.push_back({vk, release}); }
  void OnSendString(const wchar_t* text, size_t length) override {
    strings.emplace_back(text, length);
  }
  std::vector<RECT> rects;
  std::vector<std::pair<BYTE, bool>> keys;
  std::vector<std::wstring> strings;
};

TEST(ImCallback, TakesTheCountNotTheTerminatorAndRefusesWhatItCannotRead) {
  RecordingSink sink;
  CImCallback callback(sink);
  wchar_t text[] = L"abcXYZ";  // not a BSTR, and not ended after the three characters sent
  EXPECT_EQ(callback.SendString(text, 3), S_OK);
  EXPECT_EQ(callback.SendString(nullptr, 3), E_POINTER);
  EXPECT_EQ(callback.SendString(text, CImCallback::kLongestString + 1), E_INVALIDARG);
  EXPECT_EQ(callback.SendString(nullptr, 0), S_OK);  // nothing to send
  ASSERT_EQ(sink.strings.size(), 1u);
  EXPECT_EQ(sink.strings[0], L"abc");

  EXPECT_EQ(callback.SendVirtualKey(VK_HOME, 0), S_OK);
  EXPECT_EQ(callback.SendVirtualKey(VK_HOME, kKeyEventKeyUp), S_OK);
  EXPECT_EQ(callback.SendVirtualKey(0, 0), E_INVALIDARG);
  ASSERT_EQ(sink.keys.size(), 2u);
  EXPECT_FALSE(sink.keys[0].second);
  EXPECT_TRUE(sink.keys[1].second);

  EXPECT_EQ(callback.SetImInfo(nullptr), E_POINTER);
  EXPECT_TRUE(sink.rects.empty());
  void* asked = nullptr;
  EXPECT_EQ(callback.QueryInterface(IID_IIMCallback, &asked), S_OK);
  EXPECT_EQ(asked, static_cast<IIMCallback*>(&callback));
  EXPECT_EQ(callback.QueryInterface(IID_IInputMethod, &asked), E_NOINTERFACE);
  EXPECT_EQ(asked, nullptr);
}

TEST(SipHost, PanelRectangleStaysBetweenTheTitleBarAndTheMenuBar) {
  RECT fitted{};
  ASSERT_TRUE(FitPanelRect(RECT{0, 214, 240, 294}, fitted));
  EXPECT_EQ(fitted.top, 214);
  EXPECT_EQ(fitted.bottom, 294);
  // Taller than the room: cut at the title bar; wider than the screen: cut at its edges.
  ASSERT_TRUE(FitPanelRect(RECT{-10, 0, 400, 294}, fitted));
  EXPECT_EQ(fitted.left, 0);
  EXPECT_EQ(fitted.right, kScreenWidth);
  EXPECT_EQ(fitted.top, kTitleBarHeight);
  // Empty, inverted or entirely off the screen: ignored, the panel stays where it is.
  EXPECT_FALSE(FitPanelRect(RECT{0, 294, 240, 294}, fitted));
  EXPECT_FALSE(FitPanelRect(RECT{240, 214, 0, 294}, fitted));
  EXPECT_FALSE(FitPanelRect(RECT{0, 2000, 240, 2080}, fitted));
  EXPECT_FALSE(FitPanelRect(RECT{300, 214, 540, 294}, fitted));
}

class KeyDeliveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE | ES_WANTRETURN, 0, 0, 200,
                            100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit_, nullptr);
  }
  void TearDown() override {
    keys_.ReleaseAll();
    DestroyWindow(edit_);
  }
  std::wstring Text() const {
    wchar_t buffer[256] = {};
    GetWindowTextW(edit_, buffer, 256);
    return buffer;
  }
  DWORD Caret() const {
    DWORD start = 0, end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start;
  }
  void Stroke(BYTE vk) {
    keys_.SendVirtualKey(vk, false);
    keys_.SendVirtualKey(vk, true);
  }

  HWND edit_ = nullptr;
  KeyDelivery keys_{[this] { return edit_; }};
};

TEST_F(KeyDeliveryTest, LineBreaksBecomeTheEditControlsOwn) {
  keys_.SendString(L"one\ntwo\rthree\r\nfour", 19);
  EXPECT_EQ(Text(), L"one\r\ntwo\r\nthree\r\nfour");
}

TEST_F(KeyDeliveryTest, ModifiersStayHeldAcrossCallsUntilReleased) {
  keys_.SendString(L"abc def", 7);
  keys_.SendVirtualKey(VK_CONTROL, false);
  EXPECT_TRUE(keys_.IsHeld(VK_CONTROL));
  Stroke(VK_HOME);
  keys_.SendVirtualKey(VK_CONTROL, true);
  EXPECT_FALSE(keys_.IsHeld(VK_CONTROL));
  EXPECT_EQ(Caret(), 0u);
  // Without Ctrl, End goes to the end of the line; Backspace then deletes by its character.
  Stroke(VK_END);
  EXPECT_EQ(Caret(), 7u);
  Stroke(VK_BACK);
  EXPECT_EQ(Text(), L"abc de");
  // Shift held over Left selects: the next text replaces the selection.
  keys_.SendVirtualKey(VK_SHIFT, false);
  Stroke(VK_LEFT);
  Stroke(VK_LEFT);
  keys_.SendVirtualKey(VK_SHIFT, true);
  keys_.SendString(L"XY", 2);
  EXPECT_EQ(Text(), L"abc XY");
  // Enter as a key stroke breaks the line as a keyboard does.
  Stroke(VK_RETURN);
  EXPECT_EQ(Text(), L"abc XY\r\n");
}

TEST_F(KeyDeliveryTest, ReleasingEverythingLeavesNoModifierBehind) {
  keys_.SendVirtualKey(VK_CONTROL, false);
  keys_.SendVirtualKey(VK_SHIFT, false);
  keys_.ReleaseAll();
  EXPECT_FALSE(keys_.IsHeld(VK_CONTROL));
  EXPECT_FALSE(keys_.IsHeld(VK_SHIFT));
  EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
  keys_.SendString(L"ab", 2);
  Stroke(VK_HOME);  // a plain Home: the start of the line, and no selection
  keys_.SendString(L"c", 1);
  EXPECT_EQ(Text(), L"cab");
}

}  // namespace
}  // namespace tessaline::emulator
