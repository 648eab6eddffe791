// The device's view: which host mouse messages become which pen touches, at which device pixel,
// and where a window the device opens is placed on the host's screen.
#include <gtest/gtest.h>

#include "screen/DeviceLayout.h"
#include "screen/ViewMapping.h"

namespace tessaline::emulator {
namespace {

// A view at zoom 2 whose client area starts at (3, 22) on the host's screen.
constexpr RECT kView{3, 22, 3 + 2 * kScreenWidth, 22 + 2 * kScreenHeight};

PointerRoute Route(UINT message, int x, int y, bool penDown = false) {
  return RoutePointer(message, POINT{x, y}, kView, 2, penDown);
}

TEST(ViewPointer, APressOnTheViewTouchesTheDevicePixelItShows) {
  // Both host pixels of a device pixel touch it; the view's first and last pixels are the
  // device's first and last.
  for (int dx : {0, 1}) {
    const PointerRoute route = Route(WM_LBUTTONDOWN, 3 + 2 * 120 + dx, 22 + 2 * 159 + dx);
    EXPECT_TRUE(route.taken);
    EXPECT_EQ(route.action, PenAction::kDown);
    EXPECT_EQ(route.device.x, 120);
    EXPECT_EQ(route.device.y, 159);
  }
  const PointerRoute last = Route(WM_LBUTTONDBLCLK, kView.right - 1, kView.bottom - 1);
  EXPECT_EQ(last.action, PenAction::kDown);  // a quick second press is a touch too
  EXPECT_EQ(last.device.x, kScreenWidth - 1);
  EXPECT_EQ(last.device.y, kScreenHeight - 1);
  // Outside the client area (the frame, the caption's buttons, the rest of the screen) the host
  // keeps its mouse.
  EXPECT_FALSE(Route(WM_LBUTTONDOWN, kView.right, 100).taken);
  EXPECT_FALSE(Route(WM_NCLBUTTONDOWN, 100, 10).taken);
  EXPECT_FALSE(Route(WM_MOUSEMOVE, 2, 100).taken);
}

TEST(ViewPointer, NoDeviceWindowSeesTheHostMouseOverTheView) {
  // A move with no button down, the right button (an edit box's menu), the wheel: taken, and
  // no touch.
  for (UINT message : {WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN}) {
    const PointerRoute route = Route(message, 200, 300);
    EXPECT_TRUE(route.taken) << message;
    EXPECT_EQ(route.action, PenAction::kNone) << message;
  }
  // A release without a press on the view (pressed elsewhere, released here) is no touch.
  EXPECT_EQ(Route(WM_LBUTTONUP, 200, 300).action, PenAction::kNone);
}

TEST(ViewPointer, ThePenStaysDownOffTheViewUntilTheButtonComesUp) {
  // A drag leaving the view to the left and above: the pixels just outside are -1, not 0.
  const PointerRoute move = Route(WM_MOUSEMOVE, 2, 21, true);
  EXPECT_TRUE(move.taken);
  EXPECT_EQ(move.action, PenAction::kMove);
  EXPECT_EQ(move.device.x, -1);
  EXPECT_EQ(move.device.y, -1);
  EXPECT_EQ(Route(WM_MOUSEMOVE, 3 + 2 * 300, 30, true).device.x, 300);
  // Over the view's frame the host sends frame messages: still the pen's.
  EXPECT_EQ(Route(WM_NCMOUSEMOVE, 100, 10, true).action, PenAction::kMove);
  const PointerRoute up = Route(WM_NCLBUTTONUP, 100, 10, true);
  EXPECT_TRUE(up.taken);
  EXPECT_EQ(up.action, PenAction::kUp);
  EXPECT_EQ(Route(WM_LBUTTONUP, 900, 700, true).action, PenAction::kUp);
}

TEST(ViewPointer, AtZoomOneAndThreeEveryHostPixelMapsToOneDevicePixel) {
  const RECT one{10, 30, 10 + kScreenWidth, 30 + kScreenHeight};
  const PointerRoute route = RoutePointer(WM_LBUTTONDOWN, POINT{10 + 75, 30 + 234}, one, 1, false);
  EXPECT_EQ(route.device.x, 75);
  EXPECT_EQ(route.device.y, 234);
  const RECT three{0, 0, 3 * kScreenWidth, 3 * kScreenHeight};
  EXPECT_EQ(RoutePointer(WM_LBUTTONDOWN, POINT{3 * 175 + 2, 3 * 274}, three, 3, false).device.x,
            175);
}

TEST(KeepOnDevice, ADialogAtTheHostsCornerOpensAtTheDevicesCorner) {
  const POINT origin{3, 22};
  // The options sheet: the device's width, taller than its screen, made at (0, 0).
  POINT place = KeepOnDevice(RECT{0, 0, 240, 327}, origin);
  EXPECT_EQ(place.x, 3);
  EXPECT_EQ(place.y, 22);
  // A window inside the device's screen (a message box over the device) stays where it is.
  place = KeepOnDevice(RECT{40, 120, 200, 220}, origin);
  EXPECT_EQ(place.x, 40);
  EXPECT_EQ(place.y, 120);
  // Past the right and bottom edges it comes back inside.
  place = KeepOnDevice(RECT{400, 500, 500, 560}, origin);
  EXPECT_EQ(place.x, 3 + 240 - 100);
  EXPECT_EQ(place.y, 22 + 320 - 60);
  // Wider than the screen: its left edge on the screen's, so its caption and its left stay
  // in view.
  place = KeepOnDevice(RECT{100, 50, 400, 100}, origin);
  EXPECT_EQ(place.x, 3);
  EXPECT_EQ(place.y, 50);
}

}  // namespace
}  // namespace tessaline::emulator
