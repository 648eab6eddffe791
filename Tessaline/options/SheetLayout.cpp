#include "options/SheetLayout.h"

// The common control headers build on <windows.h>.
#include <commctrl.h>
#include <prsht.h>

#include "options/PropertyPage.h"

namespace tessaline {
namespace {

// Space between the sheet's edge, the tab control and the buttons, in pixels.
constexpr int kMargin = 3;
constexpr int kButtonGap = 4;
// The sheet's own buttons: OK, Cancel, Apply (hidden: the sheet has none), Help.
constexpr int kSheetButtons[] = {IDOK, IDCANCEL, 0x3021, IDHELP};

// The tab control's display area, in the sheet's client coordinates.
RECT DisplayArea(HWND sheet, HWND tabs) {
  RECT area{};
  GetClientRect(tabs, &area);
  TabCtrl_AdjustRect(tabs, FALSE, &area);
  MapWindowPoints(tabs, sheet, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

}  // namespace

void FitPageToSheet(HWND page) {
  const HWND sheet = GetParent(page);
  const HWND tabs = sheet ? PropSheet_GetTabControl(sheet) : nullptr;
  if (!tabs) return;
  const RECT area = DisplayArea(sheet, tabs);
  SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FitSheetToScreen(HWND sheet) {
  const HWND tabs = PropSheet_GetTabControl(sheet);
  if (!tabs) return;
  RECT outer{}, client{};
  GetWindowRect(sheet, &outer);
  GetClientRect(sheet, &client);
  const int frameWidth = (outer.right - outer.left) - client.right;
  const int frameHeight = (outer.bottom - outer.top) - client.bottom;

  // The page's height in pixels, from its size in dialog units and the sheet's font.
  RECT page{0, 0, kPageWidth, kPageHeight};
  MapDialogRect(sheet, &page);

  // The tab control takes the width first, so that it knows how many rows its tabs need; then
  // its height becomes what the page needs below them.
  const int tabWidth = kDeviceScreenWidth - frameWidth - 2 * kMargin;
  SetWindowPos(tabs, nullptr, kMargin, kMargin, tabWidth, page.bottom * 2,
               SWP_NOZORDER | SWP_NOACTIVATE);
  RECT display{0, 0, tabWidth, page.bottom * 2};
  TabCtrl_AdjustRect(tabs, FALSE, &display);
  const int tabHeight = page.bottom * 2 - (display.bottom - display.top) + page.bottom;
  SetWindowPos(tabs, nullptr, kMargin, kMargin, tabWidth, tabHeight, SWP_NOZORDER | SWP_NOACTIVATE);

  for (int i = 0;; ++i) {
    const HWND pageWindow = PropSheet_IndexToHwnd(sheet, i);
    if (!pageWindow) {
      if (i >= TabCtrl_GetItemCount(tabs)) break;
      continue;
    }
    FitPageToSheet(pageWindow);
  }

  // The buttons, right-aligned below the tab control, in their order from the right.
  const int buttonTop = kMargin + tabHeight + kButtonGap;
  int right = kDeviceScreenWidth - frameWidth - kMargin;
  int bottom = buttonTop;
  for (auto it = std::rbegin(kSheetButtons); it != std::rend(kSheetButtons); ++it) {
    const HWND button = GetDlgItem(sheet, *it);
    if (!button || !(GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r{};
    GetWindowRect(button, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    SetWindowPos(button, nullptr, right - width, buttonTop, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    right -= width + kButtonGap;
    if (buttonTop + height > bottom) bottom = buttonTop + height;
  }
  SetWindowPos(sheet, nullptr, 0, 0, kDeviceScreenWidth,
               bottom + kMargin + kButtonGap + frameHeight,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

}  // namespace tessaline
