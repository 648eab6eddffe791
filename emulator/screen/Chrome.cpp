#include "screen/Chrome.h"

#include "screen/DeviceLayout.h"
#include "win32/Handles.h"

namespace tessaline::emulator {
namespace {

using win32::Brush;
using win32::Font;
using win32::Pen;
using win32::SelectScope;

void Fill(HDC dc, RECT rect, COLORREF color) {
  Brush brush(CreateSolidBrush(color));
  FillRect(dc, &rect, brush.Get());
}

// Pocket PC 2003's title bar: a vertical blue gradient.
void FillGradient(HDC dc, RECT rect, COLORREF top, COLORREF bottom) {
  TRIVERTEX vertices[2] = {{rect.left, rect.top, COLOR16(GetRValue(top) << 8),
                            COLOR16(GetGValue(top) << 8), COLOR16(GetBValue(top) << 8), 0},
                           {rect.right, rect.bottom, COLOR16(GetRValue(bottom) << 8),
                            COLOR16(GetGValue(bottom) << 8), COLOR16(GetBValue(bottom) << 8), 0}};
  GRADIENT_RECT gradient{0, 1};
  GradientFill(dc, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_V);
}

// The Start button's four-coloured flag.
void DrawFlag(HDC dc, int left, int top) {
  const COLORREF colours[4] = {RGB(242, 80, 34), RGB(127, 186, 0), RGB(0, 164, 239),
                               RGB(255, 185, 0)};
  for (int i = 0; i < 4; ++i) {
    const int x = left + (i % 2) * 8, y = top + (i / 2) * 8;
    Fill(dc, RECT{x, y, x + 7, y + 7}, colours[i]);
  }
}

// The keyboard picture of the input panel button.
void DrawKeyboard(HDC dc, RECT button, bool pressed) {
  if (pressed) Fill(dc, button, RGB(49, 106, 197));
  const COLORREF ink = pressed ? RGB(255, 255, 255) : RGB(0, 0, 0);
  const int left = (button.left + button.right) / 2 - 9, top = button.top + 7;
  Pen pen(CreatePen(PS_SOLID, 1, ink));
  SelectScope selectPen(dc, pen.Get());
  SelectScope selectBrush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, left, top, left + 19, top + 12);
  for (int row = 0; row < 2; ++row) {
    for (int x = left + 2 + row; x < left + 17; x += 3)
      Fill(dc, RECT{x, top + 2 + row * 3, x + 2, top + 4 + row * 3}, ink);
  }
  Fill(dc, RECT{left + 5, top + 8, left + 14, top + 10}, ink);
}

void DrawUpArrow(HDC dc, RECT box) {
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2 + 2;
  for (int i = 0; i < 4; ++i)
    Fill(dc, RECT{cx - i, cy - 3 + i, cx + i + 1, cy - 2 + i}, RGB(0, 0, 0));
}

void DrawText(HDC dc, const std::wstring& text, RECT box, UINT format, COLORREF colour,
              HFONT font) {
  SelectScope selectFont(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace

HFONT CreateShellFont(int pixelHeight, bool bold) {
  return CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                     VARIABLE_PITCH | FF_SWISS, L"Tahoma");
}

void DrawTitleBar(HDC dc, const ChromeState& state) {
  const RECT bar{0, 0, kScreenWidth, kTitleBarHeight};
  FillGradient(dc, bar, RGB(50, 118, 228), RGB(4, 58, 168));
  DrawFlag(dc, 5, 5);
  Font title(CreateShellFont(13, true));
  DrawText(dc, state.title, RECT{28, 0, kTitleIcon.left - 4, kTitleBarHeight}, DT_LEFT,
           RGB(255, 255, 255), title.Get());
  if (state.taskbarIcon) {
    ImageList_Draw(state.taskbarIcon, 0, dc, kTitleIcon.left, kTitleIcon.top, ILD_TRANSPARENT);
  }
  Font clock(CreateShellFont(12, false));
  DrawText(dc, state.clock, kTitleClock, DT_RIGHT, RGB(255, 255, 255), clock.Get());
}

void DrawMenuBar(HDC dc, const ChromeState& state) {
  const RECT bar{0, kMenuBarTop, kScreenWidth, kScreenHeight};
  Fill(dc, bar, RGB(255, 255, 255));
  Fill(dc, RECT{0, kMenuBarTop, kScreenWidth, kMenuBarTop + 1}, RGB(136, 152, 184));
  Font menu(CreateShellFont(12, true));
  DrawText(dc, L"New", RECT{8, kMenuBarTop, 60, kScreenHeight}, DT_LEFT, RGB(0, 0, 0), menu.Get());
  DrawText(dc, L"Menu", RECT{160, kMenuBarTop, kScreenWidth - 8, kScreenHeight}, DT_RIGHT,
           RGB(0, 0, 0), menu.Get());
  DrawKeyboard(dc, kPanelButton, state.panelShown);
  if (state.pickerOpen) Fill(dc, kPickerArrow, RGB(214, 219, 231));
  DrawUpArrow(dc, kPickerArrow);
}

}  // namespace tessaline::emulator
