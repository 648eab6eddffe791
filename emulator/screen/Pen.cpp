#include "screen/Pen.h"

namespace tessaline::emulator {
namespace {

bool IsOurs(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

}  // namespace

HWND Pen::WindowAt(POINT device) const {
  const POINT origin = origin_();
  const POINT screen{origin.x + device.x, origin.y + device.y};
  // Top-level windows in z-order, topmost first: pop-ups of the input method lie above the
  // device window.
  HWND found = nullptr;
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    if (window == skip_ || !IsWindowVisible(window) || !IsOurs(window)) continue;
    RECT rect;
    if (GetWindowRect(window, &rect) && PtInRect(&rect, screen)) {
      found = window;
      break;
    }
  }
  // A window waiting on a dialog (the device screen under the options sheet) is disabled and
  // feels no touch; a disabled child passes the touch to its parent, as a mouse click does.
  if (!found || !IsWindowEnabled(found)) return nullptr;
  for (;;) {
    POINT client = screen;
    ScreenToClient(found, &client);
    HWND child = ChildWindowFromPointEx(found, client,
                                        CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT | CWP_SKIPDISABLED);
    if (!child || child == found) return found;
    found = child;
  }
}

HWND Pen::Receiver(POINT device) const {
  HWND capture = GetCapture();
  if (capture && capture != skip_ && IsOurs(capture)) return capture;
  return target_ ? target_ : WindowAt(device);
}

void Pen::Send(HWND window, UINT message, WPARAM keys, POINT device) {
  if (!window || !IsWindow(window)) return;
  const POINT origin = origin_();
  POINT client{origin.x + device.x, origin.y + device.y};
  ScreenToClient(window, &client);
  SendMessageW(window, message, keys,
               MAKELPARAM(static_cast<WORD>(static_cast<short>(client.x)),
                          static_cast<WORD>(static_cast<short>(client.y))));
}

void Pen::Down(POINT device) {
  if (down_) Up(device);
  target_ = WindowAt(device);
  down_ = true;
  Send(target_, WM_MOUSEMOVE, 0, device);
  Send(target_, WM_LBUTTONDOWN, MK_LBUTTON, device);
}

void Pen::Move(POINT device) {
  Send(Receiver(device), WM_MOUSEMOVE, down_ ? MK_LBUTTON : 0, device);
}

void Pen::Up(POINT device) {
  HWND window = Receiver(device);
  down_ = false;
  target_ = nullptr;
  Send(window, WM_LBUTTONUP, 0, device);
}

}  // namespace tessaline::emulator
