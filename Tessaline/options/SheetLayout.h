// The sheet on the device's screen: the property sheet comes with a size of its own, wider than
// the 240 pixels of a Pocket PC screen, so the sheet is brought to that width: the tab control
// fills it (its tabs in as many rows as they need), each page fills the tab control's display
// area, and the OK and Cancel buttons stand below it at the right (Win32).
#pragma once

#include <windows.h>

namespace tessaline {

// The width of the device's screen, in pixels: the sheet's outer width.
constexpr int kDeviceScreenWidth = 240;

// Brings the sheet and the pages it has made so far to the screen's width.
void FitSheetToScreen(HWND sheet);

// Puts a page into the display area of its sheet's tab control (pages made later than the
// sheet place themselves this way).
void FitPageToSheet(HWND page);

}  // namespace tessaline
