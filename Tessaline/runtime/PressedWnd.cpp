#include "runtime/PressedWnd.h"

#include <algorithm>
#include <cstdint>

#include "panel/win32/PanelDraw.h"
#include "runtime/RuntimeSeams.h"
#include "system/ProductIds.h"
#include "win32/Handles.h"

namespace tessaline {
namespace {

constexpr float kScale = 1.25f;

int RoundHalfUp(float value) { return TruncToInt(value + 0.5f); }

// A 24-bit top-down DIB section of that size; bits receives its pixels.
HBITMAP MakeDib(HDC dc, int width, int height, uint8_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  *bits = static_cast<uint8_t*>(pixels);
  return bitmap;
}

size_t Stride(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

}  // namespace

SIZE PressedWindowSize(float keyWidth, float keyHeight) {
  return SIZE{RoundHalfUp(keyWidth * kScale) + 2 * kPressedFadeWidth,
              RoundHalfUp(keyHeight * kScale) + 2};
}

int PressedWindowLeft(int screenWidth, int width) {
  int x = screenWidth / 2 - width / 2;
  x = std::min(x, screenWidth - width - 1);
  return std::max(x, 0);
}

void BlendPressedEdges(HDC dc, HBITMAP pictureB, int width, int height) {
  if (width < 1 || height < 1) return;
  uint8_t* a = nullptr;
  uint8_t* b = nullptr;
  win32::Bitmap below(MakeDib(dc, width, height, &a));
  win32::Bitmap copyB(MakeDib(dc, width, height, &b));
  if (!below || !copyB || !a || !b) return;
  win32::MemoryDc memory(dc);
  win32::MemoryDc source(dc);
  {
    win32::SelectScope scope(memory.Get(), below.Get());
    BitBlt(memory.Get(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
  }
  {
    win32::SelectScope scope(memory.Get(), copyB.Get());
    win32::SelectScope from(source.Get(), pictureB);
    BitBlt(memory.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  const size_t stride = Stride(width);
  for (int y = 0; y < height; ++y) {
    uint8_t* rowA = a + static_cast<size_t>(y) * stride;
    const uint8_t* rowB = b + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      const int n = std::min(x + 1, width - x);  // 1 at the outer edge
      for (int c = 0; c < 3; ++c) {
        const size_t i = static_cast<size_t>(x) * 3 + c;
        if (n > kPressedFadeWidth) {
          rowA[i] = rowB[i];
        } else {
          rowA[i] = static_cast<uint8_t>(rowA[i] + (rowB[i] - rowA[i]) * n / 17);
        }
      }
    }
  }
  win32::SelectScope scope(memory.Get(), below.Get());
  BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

CPressedWnd::~CPressedWnd() { DestroyWindowNow(); }

bool CPressedWnd::Create(HWND owner) {
  RegisterClassOnce(kPressedKeyWindowClass, 0);
  owner_ = owner;
  return CreateWindowOf(WS_EX_NOACTIVATE | WS_EX_TOPMOST, kPressedKeyWindowClass, L"",
                        WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, owner) != nullptr;
}

const Button* CPressedWnd::ShownButton() const {
  return panel_ && shownId_ >= 0 ? panel_->FindButton(shownId_) : nullptr;
}

void CPressedWnd::Hide() {
  panel_ = nullptr;
  shownId_ = -1;
  highlight_ = -1;
  if (!Handle()) return;
  KillTimer(Handle(), kHideTimer);
  RECT now{};
  GetWindowRect(Handle(), &now);
  if (!IsRectEmpty(&now) || now.left != 0 || now.top != 0) {
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER);
  }
}

void CPressedWnd::Show(const Panel* panel, int id, int highlight) {
  const Button* button = panel ? panel->FindButton(id) : nullptr;
  if (!button || (button->event0 < 0 && button->event1 < 0) || !Handle()) {
    Hide();
    return;
  }
  panel_ = panel;
  shownId_ = id;
  highlight_ = highlight;
  const SIZE size = PressedWindowSize(button->w * static_cast<float>(panel->Width()),
                                      button->h * static_cast<float>(panel->Height()));
  RECT owner{};
  if (owner_) GetWindowRect(owner_, &owner);
  const PopupScreen screen = PopupScreenOf(owner_);
  const int left = screen.left + PressedWindowLeft(screen.width, size.cx);
  const RECT wanted{left, owner.top - size.cy, left + size.cx, owner.top};
  RECT now{};
  GetWindowRect(Handle(), &now);
  if (!EqualRect(&now, &wanted)) {
    // Shown from nothing it uncovers nothing, and it paints itself just below: the move need
    // not redraw as well.
    const UINT redraw = IsRectEmpty(&now) ? SWP_NOREDRAW : 0;
    SetWindowPos(Handle(), nullptr, wanted.left, wanted.top, size.cx, size.cy,
                 SWP_NOACTIVATE | SWP_NOZORDER | redraw);
  }
  InvalidateRect(Handle(), nullptr, FALSE);
  UpdateWindow(Handle());
  SetTimer(Handle(), kHideTimer, kHideMilliseconds, nullptr);
}

void CPressedWnd::Draw(HDC dc, int width, int height) {
  const Button* button = ShownButton();
  if (!button || width < 1 || height < 1) return;
  uint8_t* bits = nullptr;
  win32::Bitmap picture(MakeDib(dc, width, height, &bits));
  if (!picture) return;
  {
    win32::MemoryDc memory(dc);
    win32::SelectScope scope(memory.Get(), picture.Get());
    win32::Brush back(CreateSolidBrush(skin_ ? SkinColor(*skin_, 0) : 0));
    RECT all{0, 0, width, height};
    FillRect(memory.Get(), &all, back.Get());
    // The key drawn as on a panel a quarter larger, its top-left corner 16 pixels in and one
    // down, with every letter of the key shown.
    const int pw = RoundHalfUp(static_cast<float>(panel_->Width()) * kScale);
    const int ph = RoundHalfUp(static_cast<float>(panel_->Height()) * kScale);
    const PixelRect at = ButtonPixelRect(*button, pw, ph, 0, 0);
    DrawButton(*button, memory.Get(), kPressedFadeWidth - at.left, 1 - at.top, pw, ph, true,
               highlight_);
  }
  BlendPressedEdges(dc, picture.Get(), width, height);
}

LRESULT CPressedWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the pop-up shows what lies beneath at its edges
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      // It may lie over the candidate window for a moment; taps go through to what is beneath.
      return HTTRANSPARENT;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void CPressedWnd::OnPaint() {
  win32::PaintScope paint(Handle());
  RECT client{};
  GetClientRect(Handle(), &client);
  Draw(paint.Get(), client.right, client.bottom);
}

void CPressedWnd::OnTimer(UINT_PTR id) {
  if (id == kHideTimer) Hide();
}

}  // namespace tessaline
