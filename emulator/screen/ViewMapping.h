// How the device's view maps the host onto the device. The view shows the device screen `zoom`
// times its size; the device's real windows lie beneath it at their own size. So every mouse
// message over the view is the view's to turn into a touch of the pen at a device pixel,
// whichever window the host would have given it to (a pop-up of the input method that holds the
// mouse, the Notes box); and a window the device opens is placed on the device's screen.
#pragma once

#include <windows.h>

namespace tessaline::emulator {

enum class PenAction { kNone, kDown, kMove, kUp };

struct PointerRoute {
  bool taken = false;  // the message is the view's: the window it was meant for never sees it
  PenAction action = PenAction::kNone;
  POINT device{0, 0};  // the device pixel under the pointer
};

// `view` is the view's client area on the host's screen. A press inside the view puts the pen
// down and from then on every move and the release belong to the pen, wherever the pointer
// goes (a drag may leave the view); other buttons and moves over the view with no button down
// are taken and do nothing, so that no window of the device sees the host's mouse.
PointerRoute RoutePointer(UINT message, POINT screen, const RECT& view, int zoom, bool penDown);

// Where a window of the device goes on the host's screen: a dialog made for the device's
// screen places itself at the host screen's corner (the device's own corner on a device); it is
// brought onto the device's screen, whose corner is `origin`, and kept inside it as far as its
// size allows (its top left corner stays on the screen). Returns the window's new top left.
POINT KeepOnDevice(const RECT& window, POINT origin);

}  // namespace tessaline::emulator
