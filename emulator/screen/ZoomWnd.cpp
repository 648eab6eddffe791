#include "screen/ZoomWnd.h"

#include "screen/DeviceLayout.h"
#include "screen/DeviceWnd.h"
#include "screen/Screenshot.h"

namespace tessaline::emulator {
namespace {

constexpr wchar_t kClassName[] = L"TessalineEmulatorZoom";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMilliseconds = 40;

}  // namespace

bool CZoomWnd::Create(CDeviceWnd& device, int zoom) {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
  }();
  if (!registered) return false;
  device_ = &device;
  zoom_ = zoom;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, kScreenWidth * zoom, kScreenHeight * zoom};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  // Owned by the device window, so it always lies above it.
  HWND window =
      CreateWindowExW(0, kClassName, L"Tessaline Pocket PC emulator", style, CW_USEDEFAULT,
                      CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                      device.Handle(), nullptr, GetModuleHandleW(nullptr), this);
  if (!window) return false;
  pen_ = std::make_unique<Pen>([&device] { return device.DeviceOrigin(); }, window);
  SetTimer(window, kRefreshTimer, kRefreshMilliseconds, nullptr);
  OnMove();
  return true;
}

LRESULT CALLBACK CZoomWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<CZoomWnd*>(create->lpCreateParams);
    self->window_.Reset(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<CZoomWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_PAINT:
      return self->OnPaint();
    case WM_TIMER:
      return self->OnTimer();
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      return self->OnMouse(message, point);
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      return self->OnKey(message, wParam, lParam);
    case WM_MOVE:
      return self->OnMove();
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      return self->OnDestroy();
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_.Release();
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CZoomWnd::OnPaint() {
  win32::PaintScope paint(window_.Get());
  const std::string rgb = CaptureDevice(device_->Handle(), window_.Get());
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

LRESULT CZoomWnd::OnTimer() {
  InvalidateRect(window_.Get(), nullptr, FALSE);
  return 0;
}

LRESULT CZoomWnd::OnMouse(UINT message, POINT point) {
  const POINT device{point.x / zoom_, point.y / zoom_};
  if (message == WM_LBUTTONDOWN) {
    pen_->Down(device);
    // The view keeps the mouse while the pen is down: the window that took it on the device
    // would read the view's coordinates as its own. The pen still sends it the moves and the up.
    SetCapture(window_.Get());
  } else if (message == WM_LBUTTONUP) {
    if (GetCapture() == window_.Get()) ReleaseCapture();
    pen_->Up(device);
  } else if (pen_->IsDown()) {
    pen_->Move(device);
  }
  InvalidateRect(window_.Get(), nullptr, FALSE);
  return 0;
}

LRESULT CZoomWnd::OnKey(UINT message, WPARAM wParam, LPARAM lParam) {
  SendMessageW(device_->Notes(), message, wParam, lParam);
  return 0;
}

// The device's real windows follow the view, so that its pop-ups open where it shows them.
LRESULT CZoomWnd::OnMove() {
  POINT origin{0, 0};
  ClientToScreen(window_.Get(), &origin);
  SetWindowPos(device_->Handle(), nullptr, origin.x, origin.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

LRESULT CZoomWnd::OnDestroy() {
  KillTimer(window_.Get(), kRefreshTimer);
  PostQuitMessage(0);
  return 0;
}

}  // namespace tessaline::emulator
