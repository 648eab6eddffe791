// A sheet that its test hook fails to close must not hold the test: after a while the watchdog
// fails the test and cancels the sheet. The timer is a thread timer, so the sheet's own modal
// loop runs it.
#pragma once

#include <windows.h>
// The common control headers build on <windows.h>.
#include <commctrl.h>
#include <gtest/gtest.h>

namespace tessaline::testing {

class SheetWatchdog {
 public:
  explicit SheetWatchdog(UINT milliseconds = 15000)
      : timer_(SetTimer(nullptr, 0, milliseconds, Fire)) {}
  ~SheetWatchdog() { KillTimer(nullptr, timer_); }
  SheetWatchdog(const SheetWatchdog&) = delete;
  SheetWatchdog& operator=(const SheetWatchdog&) = delete;

 private:
  static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND sheet = FindWindowW(nullptr, L"Options")) {
      ADD_FAILURE() << "the options sheet was still open";
      PropSheet_PressButton(sheet, PSBTN_CANCEL);
    }
  }

  UINT_PTR timer_;
};

}  // namespace tessaline::testing
