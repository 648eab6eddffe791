// The device's view, the window a person sees and touches: the device screen drawn one, two or
// three times its size (--zoom). The device's real windows lie right beneath the view at their
// own size, so the input method's windows are the ones it made; the view repaints from them
// several times a second and turns the host's mouse into pen touches at device pixels. The view
// never takes the activation: the device keeps it, so the host's keyboard types into whatever
// has the focus on the device (the Notes box, a field of the options sheet).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "screen/Pen.h"
#include "screen/ViewMapping.h"
#include "win32/Handles.h"
#include "win32/MessageWindow.h"

namespace tessaline::emulator {

class CDeviceWnd;

class CZoomWnd final : public win32::MessageWindow {
 public:
  CZoomWnd() = default;
  ~CZoomWnd() override;

  bool Create(CDeviceWnd& device, int zoom);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Sees every mouse message of the thread before the window it is meant for.
  static LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam);
  bool TakeMouse(UINT message, POINT screen);
  // Sees every window of the thread placed, shown or activated.
  static LRESULT CALLBACK PlacementHook(int code, WPARAM wParam, LPARAM lParam);
  // A window of the thread was placed; `raised` when the host's screen may have raised it.
  void OnWindowPlaced(HWND window, bool raised);
  // Puts the view back above the device's windows, on the host's screen too.
  void Restack();
  // Brings the device's windows placed since onto the device's screen.
  void KeepWindowsOnDevice();
  // Tells the host's screen again that the device has the keys.
  void GiveKeysBack();
  // Whether the view's or the device screen's window on the host's screen was destroyed by
  // someone else.
  bool HostWindowGone();

  LRESULT OnPaint();
  LRESULT OnTimer();
  LRESULT OnPen(PenAction action, POINT device);
  LRESULT OnActivate(WPARAM state);
  LRESULT OnMove();
  LRESULT OnDestroy();
  // The device's window that should have the activation: the device screen, or the dialog it
  // waits on (the options sheet, a message box).
  void ActivateDevice();

  // Pen touches posted by the hook, handled in the window's own turn: wParam the PenAction,
  // lParam the device point.
  static constexpr UINT kPenMessage = WM_APP + 1;
  static constexpr UINT kActivateDeviceMessage = WM_APP + 2;
  static constexpr UINT kRestackMessage = WM_APP + 3;
  static constexpr UINT kPlaceMessage = WM_APP + 4;

  CDeviceWnd* device_ = nullptr;
  int zoom_ = 1;
  std::unique_ptr<Pen> pen_;
  HHOOK hook_ = nullptr;
  HHOOK placementHook_ = nullptr;
  bool restackPosted_ = false;
  int restackFrames_ = 0;                    // frames that still put the view back on top
  bool hostWindowSeen_[2] = {false, false};  // the view's and the device's, once they existed
  std::vector<HWND> placed_;  // top-level windows placed since the last kPlaceMessage
  bool penDown_ = false;      // pressed on the view and not yet released, as the hook has seen it
  static CZoomWnd* hooked_;
};

}  // namespace tessaline::emulator
