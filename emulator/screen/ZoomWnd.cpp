#include "screen/ZoomWnd.h"

#include <algorithm>
#include <utility>

#include "screen/DeviceLayout.h"
#include "screen/DeviceWnd.h"
#include "screen/Screenshot.h"

namespace tessaline::emulator {
namespace {

constexpr wchar_t kClassName[] = L"TessalineEmulatorZoom";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMilliseconds = 40;
constexpr int kRestackFrames = 3;
constexpr UINT_PTR kKeysTimer = 2;
// Long enough for a window manager to have handed the keys elsewhere when our window went.
constexpr UINT kKeysMilliseconds = 150;

}  // namespace

CZoomWnd* CZoomWnd::hooked_ = nullptr;

CZoomWnd::~CZoomWnd() {
  DestroyWindowNow();
  if (hook_) UnhookWindowsHookEx(hook_);
  if (placementHook_) UnhookWindowsHookEx(placementHook_);
  if (hooked_ == this) hooked_ = nullptr;
}

bool CZoomWnd::Create(CDeviceWnd& device, int zoom) {
  const bool registered = RegisterClassOnce(
      kClassName, 0, {LoadCursor(nullptr, IDC_ARROW), LoadIcon(nullptr, IDI_APPLICATION), nullptr});
  if (!registered || hooked_) return false;
  device_ = &device;
  zoom_ = zoom;
  // No minimize box: the view minimized would uncover the device's real windows beneath it.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  // Above every window of the device, the input method's topmost pop-ups too, so that what is
  // seen of the device is always the picture; and never active, so the device keeps the keys.
  const DWORD exStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_APPWINDOW;
  RECT frame{0, 0, kScreenWidth * zoom, kScreenHeight * zoom};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  HWND window =
      CreateWindowOf(exStyle, kClassName, L"Tessaline Pocket PC emulator", style, CW_USEDEFAULT,
                     CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr);
  if (!window) return false;
  pen_ = std::make_unique<Pen>([&device] { return device.DeviceOrigin(); }, window);
  hook_ = SetWindowsHookExW(WH_MOUSE, MouseHook, nullptr, GetCurrentThreadId());
  placementHook_ =
      SetWindowsHookExW(WH_CALLWNDPROCRET, PlacementHook, nullptr, GetCurrentThreadId());
  if (!hook_ || !placementHook_) return false;
  hooked_ = this;
  SetTimer(window, kRefreshTimer, kRefreshMilliseconds, nullptr);
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
  OnMove();
  return true;
}

LRESULT CALLBACK CZoomWnd::MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  // HC_NOREMOVE too: a message the hook refuses is taken off the queue either way, so it is
  // handled the first time the hook sees it.
  if (code >= 0 && hooked_) {
    const auto* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    // A menu of the host's (the view's window menu) keeps its mouse wherever it opens.
    wchar_t className[8] = L"";
    GetClassNameW(mouse->hwnd, className, 8);
    if (lstrcmpW(className, L"#32768") != 0 &&
        hooked_->TakeMouse(static_cast<UINT>(wParam), mouse->pt)) {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CZoomWnd::TakeMouse(UINT message, POINT screen) {
  if (!Handle() || IsIconic(Handle())) return false;
  RECT view{};
  GetClientRect(Handle(), &view);
  MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&view), 2);
  const PointerRoute route = RoutePointer(message, screen, view, zoom_, penDown_);
  if (route.action == PenAction::kDown) penDown_ = true;
  if (route.action == PenAction::kUp) penDown_ = false;
  if (route.action != PenAction::kNone) {
    // The touch reaches the device when the thread next looks at its messages, not inside the
    // hook: what it sets off (a dialog, a window closing) must not run in the middle of the
    // message retrieval that called the hook.
    PostMessageW(Handle(), kPenMessage, static_cast<WPARAM>(route.action),
                 MAKELPARAM(static_cast<WORD>(static_cast<short>(route.device.x)),
                            static_cast<WORD>(static_cast<short>(route.device.y))));
  }
  return route.taken;
}

LRESULT CALLBACK CZoomWnd::PlacementHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && hooked_) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    // The host's screen raises a window of the device when it is shown or put first, and,
    // without a window manager, whenever the focus comes to it or one of its children; a
    // window moved or sized in its place stays where it is among the others.
    bool raised = call->message == WM_ACTIVATE || call->message == WM_SETFOCUS;
    if (call->message == WM_WINDOWPOSCHANGED) {
      const auto* place = reinterpret_cast<const WINDOWPOS*>(call->lParam);
      raised = !(place->flags & SWP_NOZORDER) || (place->flags & SWP_SHOWWINDOW);
      // Where it goes on the device's screen is looked at in any case.
      hooked_->OnWindowPlaced(call->hwnd, raised);
    } else if (raised) {
      hooked_->OnWindowPlaced(call->hwnd, true);
    }
    // A dialog of the device that had the keys (the options sheet) is gone: a window manager
    // that saw the host's focus go with it may have taken the keys for itself, and the device,
    // active again on its own side, would never hear of it.
    if (call->message == WM_DESTROY && hooked_->Handle() && call->hwnd != hooked_->Handle() &&
        GetAncestor(call->hwnd, GA_PARENT) == GetDesktopWindow() &&
        !(GetWindowLongW(call->hwnd, GWL_EXSTYLE) & WS_EX_NOACTIVATE)) {
      SetTimer(hooked_->Handle(), kKeysTimer, kKeysMilliseconds, nullptr);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CZoomWnd::OnWindowPlaced(HWND window, bool raised) {
  if (!Handle() || GetAncestor(window, GA_ROOT) == Handle()) return;
  if (raised && !restackPosted_) {
    restackPosted_ = PostMessageW(Handle(), kRestackMessage, 0, 0) != FALSE;
  }
  // A top-level window other than the device screen: a dialog, a pop-up of the input method.
  if (window == device_->Handle() || GetAncestor(window, GA_PARENT) != GetDesktopWindow()) return;
  if (std::find(placed_.begin(), placed_.end(), window) != placed_.end()) return;
  if (placed_.empty()) PostMessageW(Handle(), kPlaceMessage, 0, 0);
  placed_.push_back(window);
}

void CZoomWnd::KeepWindowsOnDevice() {
  const std::vector<HWND> windows = std::move(placed_);
  placed_.clear();
  const POINT origin = device_->DeviceOrigin();
  for (HWND window : windows) {
    RECT rect{};
    // A pop-up of the input method hides by having no size; it is left where it is.
    if (!IsWindow(window) || !IsWindowVisible(window) || !GetWindowRect(window, &rect) ||
        IsRectEmpty(&rect)) {
      continue;
    }
    const POINT place = KeepOnDevice(rect, origin);
    if (place.x == rect.left && place.y == rect.top) continue;
    SetWindowPos(window, nullptr, place.x, place.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

void CZoomWnd::Restack() {
  restackPosted_ = false;
  // The host's screen may still raise the window when it has mapped it (a window that has
  // the focus): the next few frames put the view back again.
  restackFrames_ = kRestackFrames;
  // The host's screen raises a window only when it comes first among the windows of the
  // desktop; the view may be first already while a window of the device was raised there
  // (its activation): it is put back among the others and then first again.
  SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

LRESULT CZoomWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case WM_TIMER:
      if (wParam == kKeysTimer) {
        KillTimer(Handle(), kKeysTimer);
        GiveKeysBack();
        return 0;
      }
      return OnTimer();
    case kPenMessage:
      return OnPen(static_cast<PenAction>(wParam), PointOf(lParam));
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCACTIVATE:
      // The view stands for the device, which is active: its caption looks active too.
      return DefaultHandling(WM_NCACTIVATE, TRUE, lParam);
    case WM_CONTEXTMENU:
      // No window menu from the caption: it would open over the picture of the device.
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_MOUSEMENU || (wParam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_ACTIVATE:
      return OnActivate(wParam);
    case kActivateDeviceMessage:
      ActivateDevice();
      return 0;
    case kRestackMessage:
      Restack();
      return 0;
    case kPlaceMessage:
      KeepWindowsOnDevice();
      return 0;
    case WM_MOVE:
      return OnMove();
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      return OnDestroy();
  }
  return DefaultHandling(message, wParam, lParam);
}

LRESULT CZoomWnd::OnPaint() {
  win32::PaintScope paint(Handle());
  const std::string rgb = CaptureDevice(device_->Handle(), Handle());
  if (rgb.empty()) return 0;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kScreenWidth;
  info.bmiHeader.biHeight = -kScreenHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  // DIB rows are blue, green, red and padded to four bytes (240 × 3 already is).
  std::string bgr = rgb;
  for (size_t i = 0; i + 2 < bgr.size(); i += 3) std::swap(bgr[i], bgr[i + 2]);
  SetStretchBltMode(paint.Get(), COLORONCOLOR);
  StretchDIBits(paint.Get(), 0, 0, kScreenWidth * zoom_, kScreenHeight * zoom_, 0, 0, kScreenWidth,
                kScreenHeight, bgr.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  return 0;
}

// Under Wine a window's X window may be destroyed from the outside (xdotool windowclose), which
// Wine notes only by dropping the window's property that names it: the view, or the device
// screen beneath it, gone from the host's screen closes the emulator as its close button does.
bool CZoomWnd::HostWindowGone() {
  constexpr wchar_t kHostWindow[] = L"__wine_x11_whole_window";
  bool gone = false;
  const HWND windows[2] = {Handle(), device_->Handle()};
  for (int i = 0; i < 2; ++i) {
    if (GetPropW(windows[i], kHostWindow)) {
      hostWindowSeen_[i] = true;
    } else if (hostWindowSeen_[i]) {
      gone = true;
    }
  }
  return gone;
}

LRESULT CZoomWnd::OnTimer() {
  if (HostWindowGone()) {
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
    return 0;
  }
  if (restackFrames_ > 0) {
    const int left = restackFrames_ - 1;
    Restack();
    restackFrames_ = left;
  }
  InvalidateRect(Handle(), nullptr, FALSE);
  return 0;
}

LRESULT CZoomWnd::OnPen(PenAction action, POINT device) {
  switch (action) {
    case PenAction::kDown:
      pen_->Down(device);
      break;
    case PenAction::kMove:
      if (pen_->IsDown()) pen_->Move(device);
      break;
    case PenAction::kUp:
      if (pen_->IsDown()) pen_->Up(device);
      break;
    case PenAction::kNone:
      break;
  }
  InvalidateRect(Handle(), nullptr, FALSE);
  return 0;
}

// The view may still be activated, by its frame or the host's window manager: the activation
// goes back to the device when the thread next looks at its messages.
LRESULT CZoomWnd::OnActivate(WPARAM state) {
  if (LOWORD(state) != WA_INACTIVE) PostMessageW(Handle(), kActivateDeviceMessage, 0, 0);
  return 0;
}

void CZoomWnd::ActivateDevice() {
  HWND device = device_->Handle();
  if (!device || !IsWindow(device)) return;
  // A device window waiting on a dialog is disabled: the dialog it last had active takes it.
  HWND target = GetLastActivePopup(device);
  if (!target || target == Handle() || !IsWindowVisible(target)) target = device;
  SetForegroundWindow(target);
}

void CZoomWnd::GiveKeysBack() {
  HWND device = device_->Handle();
  // Only while the device is the active window on its own side: had the host given the keys
  // to another program, the device would have heard of it.
  if (!device || GetForegroundWindow() != device) return;
  // The host's screen hears of the focus when it changes, with the time of this message: the
  // device screen takes it and hands it on to the Notes box.
  SetFocus(device);
}

// The device's real windows follow the view, so that its pop-ups open where it shows them.
LRESULT CZoomWnd::OnMove() {
  POINT origin{0, 0};
  ClientToScreen(Handle(), &origin);
  SetWindowPos(device_->Handle(), nullptr, origin.x, origin.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

LRESULT CZoomWnd::OnDestroy() {
  KillTimer(Handle(), kRefreshTimer);
  if (hook_) UnhookWindowsHookEx(hook_);
  if (placementHook_) UnhookWindowsHookEx(placementHook_);
  hook_ = placementHook_ = nullptr;
  if (hooked_ == this) hooked_ = nullptr;
  PostQuitMessage(0);
  return 0;
}

}  // namespace tessaline::emulator
