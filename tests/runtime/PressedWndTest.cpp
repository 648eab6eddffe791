// The pressed-key pop-up: its size and place for a key, when it does not show, its timer, and
// the fade of its edges into what lies beneath.
#include <gtest/gtest.h>

#include "DrawSupport.h"
#include "OwnerWindow.h"
#include "panel/win32/PanelDraw.h"
#include "runtime/PressedWnd.h"
#include "runtime/RuntimeSeams.h"

namespace tessaline {
namespace {

using testing::Canvas;
using testing::HostToWindowsPath;
using testing::OwnerWindow;

constexpr RECT kInputWindow{0, 200, 240, 320};

class PressedWndTest : public ::testing::Test {
 protected:
  PressedWndTest() : owner_(kInputWindow) {
    CreatePanelFonts();
    SetPopupScreenWidthSource([this] { return screenWidth_; });
    const std::string path =
        HostToWindowsPath(std::string(TESSALINE_SOURCE_DIR) + "/data/Layouts/compact_white.pan");
    LoadSkin(skin_, path, false);
    panel_.SetSkin(&skin_);
    panel_.LoadLayout(path, "main");
    panel_.SetSize(240, 120);
    panel_.SetClip(240, 120);
    EXPECT_TRUE(window_.Create(owner_.Get()));
    window_.SetSkin(&skin_);
  }
  ~PressedWndTest() override {
    SetPopupScreenWidthSource(nullptr);
    DeletePanelFonts();
  }

  RECT Place() const {
    RECT r{};
    GetWindowRect(window_.Handle(), &r);
    return r;
  }

  int screenWidth_ = 240;
  OwnerWindow owner_;
  Skin skin_;
  Panel panel_;
  CPressedWnd window_;
};

TEST(PressedWindowGeometry, SizeAndLeftEdge) {
  // A 50 by 40 key: 62.5 rounds up to 63, plus the two fades; 50 plus one pixel above and below.
  EXPECT_EQ(PressedWindowSize(50, 40).cx, 95);
  EXPECT_EQ(PressedWindowSize(50, 40).cy, 52);
  EXPECT_EQ(PressedWindowSize(40, 30).cx, 82);  // 50 exactly
  EXPECT_EQ(PressedWindowSize(40, 30).cy, 40);  // 37.5 rounds up to 38
  EXPECT_EQ(PressedWindowLeft(240, 95), 73);
  EXPECT_EQ(PressedWindowLeft(100, 95), 3);  // 50 - 47, within 0 .. 100 - 95 - 1
  EXPECT_EQ(PressedWindowLeft(96, 95), 0);   // 48 - 47 = 1, but at most 0
  EXPECT_EQ(PressedWindowLeft(60, 95), 0);   // wider than the screen: at its left edge
}

TEST_F(PressedWndTest, ShowsTheKeyCentredAboveTheInputWindowForOneSecond) {
  window_.Show(&panel_, 5, 1);
  EXPECT_TRUE(window_.Showing());
  EXPECT_EQ(window_.ShownButton(), panel_.FindButton(5));
  const RECT r = Place();
  EXPECT_EQ(r.left, 73);
  EXPECT_EQ(r.right - r.left, 95);
  EXPECT_EQ(r.bottom, 200);
  EXPECT_EQ(r.top, 148);
  EXPECT_TRUE(GetWindowLongPtrW(window_.Handle(), GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  // Near the screen's edge it stays inside.
  screenWidth_ = 96;
  window_.Show(&panel_, 5, 0);
  EXPECT_EQ(Place().left, 0);
  // The timer hides it.
  SendMessageW(window_.Handle(), WM_TIMER, CPressedWnd::kHideTimer, 0);
  EXPECT_FALSE(window_.Showing());
  EXPECT_EQ(Place().right, 0);
  EXPECT_EQ(Place().bottom, 0);
}

TEST_F(PressedWndTest, WithoutAScreenGivenItCentresOnTheSoftInputPanel) {
  // The input window's top-level window (here the owner itself) stands for the device screen,
  // wherever a host shows it.
  SetPopupScreenWidthSource(nullptr);
  SetWindowPos(owner_.Get(), nullptr, 300, 200, 240, 120, SWP_NOZORDER | SWP_NOACTIVATE);
  window_.Show(&panel_, 5, 0);
  EXPECT_EQ(Place().left, 373);
  EXPECT_EQ(Place().bottom, 200);
}

TEST_F(PressedWndTest, NoPopUpForAButtonWithoutEventsOrAMissingButton) {
  Button* key = panel_.FindButton(5);
  key->event0 = -1;
  key->event1 = -1;
  window_.Show(&panel_, 4, -1);
  ASSERT_TRUE(window_.Showing());
  window_.Show(&panel_, 5, -1);  // both events negative: hides
  EXPECT_FALSE(window_.Showing());
  EXPECT_EQ(Place().right, 0);
  key->event1 = 0;  // a hold event alone is enough
  window_.Show(&panel_, 5, -1);
  EXPECT_TRUE(window_.Showing());
  window_.Show(&panel_, 999, -1);
  EXPECT_FALSE(window_.Showing());
  window_.Show(nullptr, 5, -1);
  EXPECT_FALSE(window_.Showing());
}

TEST(PressedWindowFade, EdgesBlendByTheSeventeenths) {
  constexpr int kWidth = 40, kHeight = 3;
  Canvas canvas(kWidth, kHeight, RGB(10, 20, 200));  // A: what lies beneath
  // B: the key, a picture of its own (not selected into any DC).
  const win32::Bitmap picture(CreateCompatibleBitmap(canvas.Dc(), kWidth, kHeight));
  {
    const win32::MemoryDc dc(canvas.Dc());
    const win32::SelectScope select(dc.Get(), picture.Get());
    const win32::Brush brush(CreateSolidBrush(RGB(250, 130, 0)));
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc.Get(), &all, brush.Get());
  }
  BlendPressedEdges(canvas.Dc(), picture.Get(), kWidth, kHeight);
  // n = 1 at the outer columns: 10 + 240 / 17, 20 + 110 / 17, 200 - 200 / 17 (towards zero).
  EXPECT_EQ(canvas.Pixel(0, 1), RGB(24, 26, 189));
  EXPECT_EQ(canvas.Pixel(kWidth - 1, 1), RGB(24, 26, 189));
  // n = 16 on the 16th column from either side: 10 + 225, 20 + 103, 200 - 188.
  EXPECT_EQ(canvas.Pixel(15, 1), RGB(235, 123, 12));
  EXPECT_EQ(canvas.Pixel(kWidth - 16, 0), RGB(235, 123, 12));
  // Inside the fades: B itself.
  EXPECT_EQ(canvas.Pixel(16, 2), RGB(250, 130, 0));
  EXPECT_EQ(canvas.Pixel(kWidth - 17, 2), RGB(250, 130, 0));
}

TEST_F(PressedWndTest, DrawsTheKeyOnTheBackColourBetweenTheFades) {
  window_.Show(&panel_, 5, 0);
  const RECT r = Place();
  const int w = r.right - r.left, h = r.bottom - r.top;
  Canvas plain(w, h, RGB(0, 0, 255));
  window_.Draw(plain.Dc(), w, h);
  const COLORREF back = SkinColor(skin_, 0);
  EXPECT_EQ(plain.Pixel(w / 2, 0), back);  // the row above the key
  EXPECT_EQ(plain.Pixel(16, 0), back);
  EXPECT_NE(plain.Pixel(w / 2, h / 2), back);  // the key itself
  EXPECT_EQ(plain.Pixel(0, 0),
            RGB(GetRValue(back) / 17, GetGValue(back) / 17, 255 + (GetBValue(back) - 255) / 17));
  // The highlighted letter is drawn inverted: another highlight gives another picture.
  Canvas other(w, h, RGB(0, 0, 255));
  window_.Show(&panel_, 5, 2);
  window_.Draw(other.Dc(), w, h);
  EXPECT_NE(plain.Rgb(), other.Rgb());
}

// The key is on the screen as soon as Show returns, whether the pop-up was hidden before or
// showed another highlight: feedback under the pen cannot wait for the message loop.
TEST_F(PressedWndTest, WhatItDrawsIsOnTheScreenWhenShowReturns) {
  const auto expectOnScreen = [this](int highlight) {
    window_.Show(&panel_, 5, highlight);
    const RECT r = Place();
    const int w = r.right - r.left, h = r.bottom - r.top;
    Canvas wanted(w, h, RGB(0, 0, 255));
    window_.Draw(wanted.Dc(), w, h);
    Canvas shown(w, h, RGB(1, 2, 3));
    {
      const win32::WindowDc screen(window_.Handle());
      BitBlt(shown.Dc(), 0, 0, w, h, screen.Get(), 0, 0, SRCCOPY);
    }
    // The fades at the sides blend with what lies beneath; the rest is the key's own.
    for (int y = 0; y < h; ++y) {
      for (int x = 16; x < w - 16; ++x) {
        ASSERT_EQ(shown.Pixel(x, y), wanted.Pixel(x, y)) << x << "," << y;
      }
    }
  };
  window_.Hide();
  expectOnScreen(0);
  expectOnScreen(2);
  window_.Hide();
  expectOnScreen(1);
}

}  // namespace
}  // namespace tessaline
