// A message window and its object: messages reach the object, the two part in either order
// without a message reaching an object that is gone, and the module's classes are registered
// once and taken away again.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "win32/MessageWindow.h"

namespace tessaline::win32 {
namespace {

constexpr wchar_t kClassName[] = L"TessalineMessageWindowTest";
constexpr UINT kPing = WM_APP + 7;

class Recorder final : public MessageWindow {
 public:
  explicit Recorder(std::vector<UINT>& seen) : seen_(seen) {}
  ~Recorder() override { DestroyWindowNow(); }

  bool Create(HWND parent = nullptr) {
    if (!RegisterClassOnce(kClassName, 0, {LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr})) {
      return false;
    }
    return CreateWindowOf(0, kClassName, L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10,
                          parent) != nullptr;
  }
  LifeToken Life() const { return Token(); }
  // A handler that destroys its own object on the way, as a command to the owner may.
  std::unique_ptr<Recorder>* selfOwner = nullptr;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CREATE || message == WM_DESTROY || message == kPing) {
      seen_.push_back(message);
    }
    if (message == kPing) {
      const LifeToken token = Token();
      if (selfOwner) selfOwner->reset();
      if (!token.Alive()) return 1;  // nothing of the object may be touched now
      return static_cast<LRESULT>(wParam + lParam);
    }
    return DefaultHandling(message, wParam, lParam);
  }

  std::vector<UINT>& seen_;
};

TEST(MessageWindow, MessagesReachTheObjectAndItsDestructorTakesTheWindow) {
  std::vector<UINT> seen;
  HWND window = nullptr;
  {
    Recorder recorder(seen);
    ASSERT_TRUE(recorder.Create());
    window = recorder.Handle();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(SendMessageW(window, kPing, 2, 3), 5);
  }
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(seen, (std::vector<UINT>{WM_CREATE, kPing, WM_DESTROY}));
}

TEST(MessageWindow, AWindowDestroyedByItsOwnerLeavesTheObjectWithoutOne) {
  std::vector<UINT> seen;
  HWND parent =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  Recorder child(seen);
  ASSERT_TRUE(child.Create(parent));
  DestroyWindow(parent);
  EXPECT_EQ(child.Handle(), nullptr);
  EXPECT_EQ(seen.back(), static_cast<UINT>(WM_DESTROY));
  // Destroying it again is nothing.
  child.DestroyWindowNow();
  EXPECT_EQ(child.Handle(), nullptr);
}

TEST(MessageWindow, ATokenTellsAHandlerItsObjectIsGone) {
  std::vector<UINT> seen;
  auto recorder = std::make_unique<Recorder>(seen);
  ASSERT_TRUE(recorder->Create());
  const HWND window = recorder->Handle();
  const MessageWindow::LifeToken token = recorder->Life();
  EXPECT_TRUE(token.Alive());
  recorder->selfOwner = &recorder;
  EXPECT_EQ(SendMessageW(window, kPing, 0, 0), 1);
  EXPECT_FALSE(token.Alive());
  EXPECT_EQ(recorder, nullptr);
  EXPECT_FALSE(IsWindow(window));
}

TEST(MessageWindow, TheClassIsRegisteredOnceWithItsLookAndTakenAwayAgain) {
  std::vector<UINT> seen;
  {
    Recorder first(seen);
    Recorder second(seen);
    ASSERT_TRUE(first.Create());
    ASSERT_TRUE(second.Create());
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(ThisModule(), kClassName, &info));
    EXPECT_EQ(info.hCursor, LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(info.hbrBackground, nullptr);
  }
  UnregisterWindowClasses();
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  EXPECT_FALSE(GetClassInfoExW(ThisModule(), kClassName, &info));
  // And registered again for the next window.
  Recorder again(seen);
  EXPECT_TRUE(again.Create());
}

TEST(MessageWindow, AMessageOnlyWindowServesItsObject) {
  std::vector<UINT> seen;
  Recorder recorder(seen);
  ASSERT_TRUE(recorder.Create(HWND_MESSAGE));
  EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, kClassName, nullptr), recorder.Handle());
  EXPECT_EQ(SendMessageW(recorder.Handle(), kPing, 1, 1), 2);
}

}  // namespace
}  // namespace tessaline::win32
