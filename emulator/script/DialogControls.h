// A script's hands on the dialogs of the input method (its options sheet): a page picked by its
// tab, a button or check box clicked by its text, as a person would with the pen.
#pragma once

#include <string>

namespace tessaline::emulator {

// The open property sheet of this process shows the page whose tab reads `name`; the error
// names what was missing.
std::string SelectSheetPage(const std::wstring& name);
// Clicks the visible button or check box of this process whose text (without '&', in any case)
// is `text`; "OK" on a property sheet without such a button presses its OK.
std::string PressButton(const std::wstring& text);
// Picks the entry `text` (exactly, letter case too) of the first visible list box or drop-down
// list of an open dialog that has it, and tells the dialog as a tap on the entry would.
std::string ChooseEntry(const std::wstring& text);

}  // namespace tessaline::emulator
