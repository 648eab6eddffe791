#include "screen/ViewMapping.h"

#include "screen/DeviceLayout.h"

namespace tessaline::emulator {
namespace {

// Rounds down, so that the pixels just left of or above the view are device pixel -1, not 0.
int FloorDivide(int value, int divisor) {
  const int quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

bool IsClientMouse(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

}  // namespace

PointerRoute RoutePointer(UINT message, POINT screen, const RECT& view, int zoom, bool penDown) {
  PointerRoute route;
  if (zoom < 1) return route;
  route.device =
      POINT{FloorDivide(screen.x - view.left, zoom), FloorDivide(screen.y - view.top, zoom)};
  const bool inside = PtInRect(&view, screen) != FALSE;
  if (penDown) {
    // The pen stays down until the button comes up, over the view's frame too.
    switch (message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        route.taken = true;
        route.action = PenAction::kMove;
        return route;
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        route.taken = true;
        route.action = PenAction::kUp;
        return route;
      default:
        route.taken = IsClientMouse(message) || inside;
        return route;
    }
  }
  if (!inside || !IsClientMouse(message)) return route;
  route.taken = true;
  // A second press in quick succession is a touch like the first one.
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) route.action = PenAction::kDown;
  return route;
}

POINT KeepOnDevice(const RECT& window, POINT origin) {
  const int width = window.right - window.left, height = window.bottom - window.top;
  auto fit = [](int start, int size, int low, int length) {
    // Past the far edge it comes back; before the near edge (or wider than the screen) it
    // starts at the near edge.
    if (start + size > low + length) start = low + length - size;
    return start < low ? low : start;
  };
  return POINT{fit(window.left, width, origin.x, kScreenWidth),
               fit(window.top, height, origin.y, kScreenHeight)};
}

}  // namespace tessaline::emulator
