// The emulated Pocket PC's screen: 240 × 320 pixels, the title bar at the top, the menu bar
// with the input panel button at the bottom, the input panel docked right above the menu bar.
#pragma once

#include <windows.h>

namespace tessaline::emulator {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kTitleBarHeight = 26;
constexpr int kMenuBarHeight = 26;
constexpr int kMenuBarTop = kScreenHeight - kMenuBarHeight;
// The panel's height before an input method says otherwise.
constexpr int kDefaultPanelHeight = 80;

// The input panel button in the menu bar: the keyboard picture toggles the panel, the arrow
// beside it opens the input method picker.
constexpr RECT kPanelButton{104, kMenuBarTop + 1, 130, kScreenHeight};
constexpr RECT kPickerArrow{130, kMenuBarTop + 1, 142, kScreenHeight};

// The title bar's pictures: the input method's taskbar icon left of the clock.
constexpr RECT kTitleIcon{168, 5, 184, 21};
constexpr RECT kTitleClock{186, 0, 236, kTitleBarHeight};

}  // namespace tessaline::emulator
