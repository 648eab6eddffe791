// The symbols pop-up: its symbols, its place over the input window, the language button, and
// the events it sends back for each of its buttons.
#include <gtest/gtest.h>

#include <memory>

#include "DrawSupport.h"
#include "OwnerWindow.h"
#include "SettingsScope.h"
#include "runtime/CandidateWnd.h"
#include "runtime/PressedWnd.h"
#include "runtime/RuntimeSeams.h"
#include "runtime/SymbolPopupWnd.h"

namespace tessaline {
namespace {

using testing::HostToWindowsPath;
using testing::OwnerWindow;
using testing::SettingsScope;
using Commands = std::vector<std::pair<int, int>>;

constexpr RECT kInputWindow{0, 200, 240, 320};

class SymbolPopupTest : public ::testing::Test {
 protected:
  SymbolPopupTest() : owner_(kInputWindow) {
    CreatePanelFonts();
    SetPopupScreenWidthSource([] { return 240; });
    path_ =
        HostToWindowsPath(std::string(TESSALINE_SOURCE_DIR) + "/data/Layouts/compact_white.pan");
    LoadSkin(skin_, path_, true);
    popup_ = std::make_unique<CSymbolPopupWnd>();
    EXPECT_TRUE(popup_->Create(owner_.Get(), &skin_, path_));
  }
  ~SymbolPopupTest() override {
    popup_.reset();
    SetPopupScreenWidthSource(nullptr);
    DeletePanelFonts();
  }

  // A tap at the pixel centre of one of the pop-up's buttons.
  void Tap(int id) {
    const Button* button = popup_->GetPanel().FindButton(id);
    ASSERT_NE(button, nullptr) << id;
    const PixelRect r = popup_->GetPanel().ButtonRect(*button);
    const LPARAM at = MAKELPARAM(r.left + r.width / 2, r.top + r.height / 2);
    const HWND window = popup_->Handle();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
  }

  SettingsScope settings_;
  OwnerWindow owner_;
  std::string path_;
  Skin skin_;
  std::unique_ptr<CSymbolPopupWnd> popup_;
};

TEST_F(SymbolPopupTest, CoversTheInputWindowFromTheBottomUp) {
  EXPECT_FALSE(popup_->Visible());
  EXPECT_EQ(popup_->GetPanel().FindButton(100)->captions.at(0), u"'");
  EXPECT_EQ(popup_->GetPanel().FindButton(121)->captions.at(0), u"^");
  popup_->Show(u"English");
  EXPECT_TRUE(popup_->Visible());
  RECT r{};
  GetWindowRect(popup_->Handle(), &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 240);
  EXPECT_EQ(r.bottom, 320);
  EXPECT_EQ(r.top, 320 - 240 * 135 / 240);
  EXPECT_EQ(popup_->GetPanel().Width(), 240);
  EXPECT_EQ(popup_->GetPanel().Height(), 135);
  const LONG_PTR exStyle = GetWindowLongPtrW(popup_->Handle(), GWL_EXSTYLE);
  EXPECT_TRUE((exStyle & WS_EX_NOACTIVATE) && (exStyle & WS_EX_TOPMOST));
  popup_->Hide();
  EXPECT_FALSE(popup_->Visible());
}

TEST_F(SymbolPopupTest, TheLanguageButtonShowsAtMostThreeLetters) {
  const auto caption = [&] { return popup_->GetPanel().FindButton(150)->captions.at(0); };
  popup_->Show(u"Ру");
  EXPECT_EQ(caption(), u"Ру");
  popup_->Show(u"Eng");
  EXPECT_EQ(caption(), u"Eng");
  popup_->Show(u"Deutsch");
  EXPECT_EQ(caption(), u"Deu");
}

TEST_F(SymbolPopupTest, EachButtonSendsItsEventThenCloses) {
  popup_->Show(u"English");
  Tap(100);
  Tap(121);
  EXPECT_EQ(owner_.Commands(), (Commands{{400, 10}, {300, 10}, {421, 10}, {300, 10}}));
  owner_.ClearCommands();
  Tap(150);
  Tap(151);
  Tap(152);  // the close bar only closes
  EXPECT_EQ(owner_.Commands(), (Commands{{302, 10}, {300, 10}, {301, 10}, {300, 10}, {300, 10}}));
  owner_.ClearCommands();
  // Notifications other than a tap, and taps beside every button, send nothing.
  SendMessageW(popup_->Handle(), WM_COMMAND, MAKEWPARAM(100, 1), 0);
  SendMessageW(popup_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 15));  // on an edge
  SendMessageW(popup_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(40, 15));
  EXPECT_TRUE(owner_.Commands().empty());
}

TEST_F(SymbolPopupTest, AnOwnerThatDestroysThePopUpOnTheFirstEventGetsNoSecond) {
  popup_->Show(u"English");
  owner_.onCommand = [this](int, int) { popup_.reset(); };
  Tap(150);
  EXPECT_EQ(popup_, nullptr);
  EXPECT_EQ(owner_.Commands(), (Commands{{302, 10}}));
}

// All three pop-ups go with their owner window; the objects stay, and neither later calls nor
// messages that arrive for the old windows touch anything.
TEST_F(SymbolPopupTest, PopUpsGoWithTheirOwner) {
  CCandidateWnd candidates;
  CPressedWnd pressed;
  ASSERT_TRUE(candidates.Create(owner_.Get()) && pressed.Create(owner_.Get()));
  candidates.SetList({u"a", u""}, 1);
  candidates.Place(&kInputWindow);
  const HWND windows[] = {popup_->Handle(), candidates.Handle(), pressed.Handle()};
  owner_.Destroy();
  for (HWND window : windows) {
    EXPECT_FALSE(IsWindow(window));
    SendMessageW(window, WM_TIMER, 1, 0);
  }
  EXPECT_EQ(popup_->Handle(), nullptr);
  EXPECT_EQ(candidates.Handle(), nullptr);
  EXPECT_EQ(pressed.Handle(), nullptr);
  EXPECT_TRUE(popup_->GetPanel().Buttons().empty());
  popup_->Show(u"English");
  EXPECT_FALSE(popup_->Visible());
  candidates.Select(1);  // no timer without a window
  candidates.Place(&kInputWindow);
  EXPECT_EQ(candidates.CurrentWord(), u"a");
  Panel panel;
  pressed.Show(&panel, 5, 0);
  EXPECT_FALSE(pressed.Showing());
}

}  // namespace
}  // namespace tessaline
