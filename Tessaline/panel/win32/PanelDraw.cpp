// Drawing of buttons and panels, the panel fonts, and the window side of pen notifications.
#include "panel/win32/PanelDraw.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "win32/Handles.h"

namespace tessaline {
namespace {

// Never destroyed themselves: the last user deletes the fonts, and at process exit they go with
// the process.
std::array<win32::Font, 3>& Fonts() {
  static auto* fonts = new std::array<win32::Font, 3>;
  return *fonts;
}
int g_fontUsers = 0;

// a * b / c in 64 bits, kept within int: cell rectangles of a damaged file may hold any numbers.
int MulDivTrunc(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return 0;
  const int64_t v = a * b / c;
  return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
}

SIZE TextSize(HDC dc, const wchar_t* text, int length) {
  SIZE size{};
  if (length > 0) GetTextExtentPoint32W(dc, text, length, &size);
  return size;
}

// Draws text centred horizontally in the rectangle, at its top or centred vertically, and
// inverts character k (the letter the next tap gives) with an exclusive-or fill of 0xE0E0E0.
void DrawCentered(HDC dc, const WideString& text, const RECT& cell, bool vcenter, int k) {
  const auto* chars = reinterpret_cast<const wchar_t*>(text.c_str());
  const int length = static_cast<int>(text.size());
  const SIZE size = TextSize(dc, chars, length);
  const int x0 = ((cell.left + cell.right) >> 1) - (size.cx >> 1);
  const int y0 = vcenter ? ((cell.top + cell.bottom) >> 1) - (size.cy >> 1) : cell.top;
  RECT r{std::max(x0, static_cast<int>(cell.left)), y0,
         std::min(x0 + static_cast<int>(size.cx), static_cast<int>(cell.right)),
         y0 + static_cast<int>(size.cy)};
  DrawTextW(dc, chars, length, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  if (k < 0 || k >= length) return;
  const SIZE before = TextSize(dc, chars, k);
  const SIZE letter = TextSize(dc, chars + k, 1);
  RECT h{std::max(x0 + static_cast<int>(before.cx) - 1, static_cast<int>(cell.left)), y0,
         std::min(x0 + static_cast<int>(before.cx + letter.cx) + 1, static_cast<int>(cell.right)),
         y0 + static_cast<int>(letter.cy)};
  if (h.right <= h.left || h.bottom <= h.top) return;
  const win32::Brush brush(CreateSolidBrush(0xE0E0E0));
  const win32::SelectScope selectBrush(dc, brush.Get());
  const int oldRop = SetROP2(dc, R2_XORPEN);
  PatBlt(dc, h.left, h.top, h.right - h.left, h.bottom - h.top, PATINVERT);
  SetROP2(dc, oldRop);
}

}  // namespace

void CreatePanelFonts() {
  if (g_fontUsers++ > 0) return;
  const win32::CreatedDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  const int dpi = display ? GetDeviceCaps(display.Get(), LOGPIXELSY) : 96;
  const int points[3] = {8, 12, 16};
  const BYTE quality[3] = {6, 6, 4};
  for (int i = 0; i < 3; ++i) {
    LOGFONTW font{};
    font.lfHeight = -(dpi * points[i] / 72);
    font.lfWeight = FW_DONTCARE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = quality[i];
    font.lfPitchAndFamily = 0;
    lstrcpyW(font.lfFaceName, L"Arial");
    Fonts()[static_cast<size_t>(i)].Reset(CreateFontIndirectW(&font));
  }
}

void DeletePanelFonts() {
  if (g_fontUsers == 0 || --g_fontUsers > 0) return;
  for (win32::Font& font : Fonts()) font.Reset();
}

HFONT PanelFont(int number) {
  return number >= 1 && number <= 3 ? Fonts()[static_cast<size_t>(number - 1)].Get() : nullptr;
}

void DrawButton(const Button& button, HDC dc, int px, int py, int pw, int ph, bool showAll,
                int highlight) {
  const ButtonLayout* layout = button.skin ? button.skin->FindButtonLayout(button.layout) : nullptr;
  if (!layout) return;
  const int fw = layout->w, fh = layout->h;
  // A layout without a frame size has nothing to scale from: its buttons have no size at all.
  if (fw < 1 || fh < 1) return;
  const PixelRect rect = ButtonPixelRect(button, pw, ph, px, py);
  // GDI coordinates hold 27 bits; a button placed beyond them by a damaged file is not drawn
  // (and the arithmetic below stays far from overflow).
  constexpr int64_t kGdiLimit = 1 << 26;
  if (std::abs(static_cast<int64_t>(rect.left)) > kGdiLimit ||
      std::abs(static_cast<int64_t>(rect.top)) > kGdiLimit || rect.width > kGdiLimit ||
      rect.height > kGdiLimit) {
    return;
  }
  const int X = rect.left, Y = rect.top, W = rect.width, H = rect.height;
  const int row = button.state != 0 ? 1 : 0;
  const int frame = std::clamp<int>(button.frame, 0, layout->frames - 1);

  const win32::SelectionRestore restoreFont(dc, OBJ_FONT);
  const HFONT previous = static_cast<HFONT>(restoreFont.Old());
  if (PanelFont(1)) SelectObject(dc, PanelFont(1));
  const win32::MemoryDc memoryDc(dc);
  HDC memory = memoryDc.Get();
  if (layout->bitmap) {
    const win32::SelectScope selectFrame(memory, static_cast<HBITMAP>(layout->bitmap));
    const int sx = frame * fw, sy = row * fh;
    if (W == fw && H == fh) {
      BitBlt(dc, X, Y, W, H, memory, sx, sy, SRCCOPY);
    } else {
      const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, X, Y, W, H, memory, sx, sy, fw, fh, SRCCOPY);
      SetStretchBltMode(dc, oldMode);
    }
  }

  bool first = true;
  for (const auto& [cellId, caption] : button.captions) {
    const int k = first ? highlight : -1;
    first = false;
    WideString text;
    if (showAll) {
      for (char16_t ch : caption) {
        if (ch != u'\u0001') text.push_back(ch);
      }
    } else {
      text = caption.substr(0, caption.find(u'\u0001'));
    }
    const CellLayout* cell = layout->FindCell(cellId);
    if (!cell || text.empty()) continue;
    SetTextColor(dc, cell->color);
    RECT r;
    r.left = X + MulDivTrunc(W, cell->x, fw);
    r.top = Y + MulDivTrunc(H, static_cast<int64_t>(cell->y) + row, fh);
    r.right = X + MulDivTrunc(W, static_cast<int64_t>(cell->x) + cell->w, fw);
    r.bottom = Y + MulDivTrunc(H, static_cast<int64_t>(cell->y) + row + cell->h, fh);

    const IconLayout* icon = button.skin->FindIcon(text);
    if (icon) {
      const int64_t maskX = static_cast<int64_t>(icon->x) + icon->w;
      if (icon->bitmap && maskX <= kGdiLimit && icon->x >= 0 && icon->y >= 0 && icon->w > 0 &&
          icon->h > 0 && icon->y <= kGdiLimit) {
        const int iw = MulDivTrunc(W, icon->w, fw);
        const int ih = MulDivTrunc(H, icon->h, fh);
        const int ix = ((r.left + r.right) >> 1) - (iw >> 1);
        const int iy = ((r.top + r.bottom) >> 1) - (ih >> 1);
        const win32::SelectScope selectIcon(memory, static_cast<HBITMAP>(icon->bitmap));
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, ix, iy, iw, ih, memory, icon->x + icon->w, icon->y, icon->w, icon->h,
                   SRCAND);
        StretchBlt(dc, ix, iy, iw, ih, memory, icon->x, icon->y, icon->w, icon->h, SRCPAINT);
        SetStretchBltMode(dc, oldMode);
      }
      continue;
    }

    HFONT font = PanelFont(cell->font);
    SelectObject(dc, font ? font : previous);
    const auto* chars = reinterpret_cast<const wchar_t*>(text.c_str());
    const int length = static_cast<int>(text.size());
    const SIZE size = TextSize(dc, chars, length);
    SetBkMode(dc, TRANSPARENT);
    if (length < 2 || size.cx <= r.right - r.left) {
      DrawCentered(dc, text, r, true, k);
    } else {
      const int half = length / 2;
      const WideString head = text.substr(0, static_cast<size_t>(half));
      const WideString tail = text.substr(static_cast<size_t>(half));
      DrawCentered(dc, head, r, false, k);
      const SIZE tailSize = TextSize(dc, reinterpret_cast<const wchar_t*>(tail.c_str()),
                                     static_cast<int>(tail.size()));
      RECT bottom{r.left, r.bottom - tailSize.cy, r.right, r.bottom};
      DrawCentered(dc, tail, bottom, false, k < 0 ? -1 : k - half);
    }
  }
}

void PaintPanel(Panel& panel, HDC dc, bool full) {
  const int x = panel.X(), y = panel.Y(), w = panel.Width(), h = panel.Height();
  if (w < 1 || h < 1) return;
  if (x >= panel.ClipWidth() || static_cast<int64_t>(x) + w < 1 || y >= panel.ClipHeight() ||
      static_cast<int64_t>(y) + h < 1) {
    return;
  }
  auto& drawn = panel.LastDrawn();
  const auto& buttons = panel.Buttons();
  if (drawn.size() != buttons.size()) drawn.assign(buttons.size(), 0xFFFF);
  if (full && panel.GetSkin()) {
    const win32::Brush brush(CreateSolidBrush(SkinColor(*panel.GetSkin(), 0)));
    const win32::SelectScope selectBrush(dc, brush.Get());
    Rectangle(dc, x - 1, y, x + w + 1, y + h + 1);
  }
  for (size_t i = 0; i < buttons.size(); ++i) {
    const uint16_t state = static_cast<uint16_t>(buttons[i]->state);
    if (full || state != drawn[i]) DrawButton(*buttons[i], dc, x, y, w, h, false, -1);
    drawn[i] = state;
  }
}

}  // namespace tessaline
