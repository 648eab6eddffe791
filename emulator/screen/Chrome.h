// Draws what the Pocket PC shell shows around the application: the blue title bar (Start flag,
// the application's name, the input method's taskbar icon, the clock) and the white menu bar
// with its menus and the input panel button.
#pragma once

#include <windows.h>
// The common controls' header needs the Windows header before it.
#include <commctrl.h>

#include <string>

namespace tessaline::emulator {

struct ChromeState {
  std::wstring title = L"Notes";
  std::wstring clock;                // "12:34"
  HIMAGELIST taskbarIcon = nullptr;  // the input method's image list (IMINFO::hImageNarrow)
  bool panelShown = false;
  bool pickerOpen = false;
};

void DrawTitleBar(HDC dc, const ChromeState& state);
void DrawMenuBar(HDC dc, const ChromeState& state);

// The shell's font: Tahoma where the system has it, else the nearest sans serif.
HFONT CreateShellFont(int pixelHeight, bool bold);

}  // namespace tessaline::emulator
