// The pen: touches at device pixels become the mouse messages a window gets from a real touch,
// sent to the window that lies at that point on the device screen (an input method's child
// window in the panel, its pop-ups, the Notes box, a dialog) or to the window that captured the
// pen. Scripts and the zoomed view touch the device through it.
#pragma once

#include <windows.h>

#include <functional>

namespace tessaline::emulator {

class Pen {
 public:
  // origin() gives the device screen's top left corner on the host's screen; `skip` is a window
  // that covers the device without being part of it (the zoomed view), or null.
  Pen(std::function<POINT()> origin, HWND skip) : origin_(std::move(origin)), skip_(skip) {}
  // The view made after the pen.
  void SetSkip(HWND skip) { skip_ = skip; }

  void Down(POINT device);
  void Move(POINT device);
  void Up(POINT device);
  bool IsDown() const { return down_; }

  // The deepest visible window of this process at a device point, topmost first.
  HWND WindowAt(POINT device) const;

 private:
  void Send(HWND window, UINT message, WPARAM keys, POINT device);
  HWND Receiver(POINT device) const;

  std::function<POINT()> origin_;
  HWND skip_;
  HWND target_ = nullptr;  // the window the pen went down on
  bool down_ = false;
};

}  // namespace tessaline::emulator
