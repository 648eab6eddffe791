// The launcher of the options sheet (Win32): at most one sheet in the whole system, and on OK
// the settings saved so that the input method rebuilds itself the next time it is shown.
#pragma once

#include <windows.h>

#include <functional>

namespace tessaline {

// Shows the options sheet modally over parent:
//  1. creates the named mutex "TessalineOptions"; when it already exists another sheet is open,
//     so interface text 15 is shown in a plain message box and nothing else happens;
//  2. shows the sheet;
//  3. on OK waits 500 ms, hides the input panel (SipShowIM with SIPF_OFF), raises the change
//     counter, saves the settings and raises the counter again;
//  4. closes the mutex.
// Any other way of closing saves nothing.
void OpenOptions(HWND parent);

// What tests put in place of a person and of the clock.
struct OptionsHooks {
  // Called with the sheet's window once it is shown; presses OK or Cancel.
  std::function<void(HWND sheet)> sheetShown;
  // Replaces the wait before the panel is hidden; receives the milliseconds.
  std::function<void(unsigned milliseconds)> wait;
};

// Installs hooks for later calls; empty members restore the real behaviour. Returns the previous
// hooks.
OptionsHooks SetOptionsHooks(OptionsHooks hooks);

}  // namespace tessaline
