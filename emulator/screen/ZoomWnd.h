// The zoomed view (--zoom 2 or 3): the device screen drawn two or three times its size. The
// device's real windows stay at their own size right beneath this view, so the input method's
// windows are the ones it made; the view repaints from them several times a second and turns
// the mouse into pen touches at device pixels, and the keyboard into keys for the Notes box.
#pragma once

#include <windows.h>

#include <memory>

#include "screen/Pen.h"
#include "system/win32/Handles.h"

namespace tessaline::emulator {

class CDeviceWnd;

class CZoomWnd {
 public:
  bool Create(CDeviceWnd& device, int zoom);
  HWND Handle() const { return window_.Get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint();
  LRESULT OnTimer();
  LRESULT OnMouse(UINT message, POINT point);
  LRESULT OnKey(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMove();
  LRESULT OnDestroy();

  CDeviceWnd* device_ = nullptr;
  int zoom_ = 1;
  win32::Window window_;
  std::unique_ptr<Pen> pen_;
};

}  // namespace tessaline::emulator
