// The options property sheet: captioned "Options", modal, without an Apply button, holding the
// pages in their tab order.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "options/PropertyPage.h"

namespace tessaline {

using OptionsPages = std::vector<std::unique_ptr<CPropertyPage>>;

// The interface texts of the tab captions, in tab order.
constexpr int kTabTexts[] = {9, 10, 16, 21, 41, 11};

// The pages of a new sheet, in tab order: Languages, Interface, Buttons, Dictionary, Frequency,
// About. Each sheet gets pages of its own; nothing of an earlier sheet survives.
OptionsPages CreateOptionsPages();

// Called once the sheet is on the screen and its modal loop runs, with the sheet's window.
// Tests close the sheet from here (PropSheet_PressButton); the input method passes none.
using SheetShownHook = std::function<void(HWND sheet)>;

// Makes sure the window classes of the common controls that pages use (tabs, trackbars) exist.
void RegisterOptionsControls();

// Shows the sheet modally over parent. When it closes with OK, every page that was shown has
// written its controls into the settings, in tab order. Returns true for OK; false for any other
// way of closing, or when the sheet could not be shown.
bool ShowOptionsSheet(HWND parent, OptionsPages& pages, const SheetShownHook& shown);

}  // namespace tessaline
