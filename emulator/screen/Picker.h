// The input method picker that the arrow beside the panel button opens: every installed input
// method (the current one ticked) and "Options…" for the current one's options. A child of the
// device screen, above the panel, so that the pen and scripts reach it like any other window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sip/InputMethodDirectory.h"
#include "system/win32/Handles.h"

namespace tessaline::emulator {

// WM_COMMAND identifiers the picker sends to its parent: a choice of input method i is
// kPickInputMethod + i.
constexpr UINT kPickOptions = 1;
constexpr UINT kPickInputMethod = 100;

class CPickerWnd {
 public:
  bool Create(HWND parent);
  // Opens above the menu bar with these entries.
  void Open(const std::vector<InstalledInputMethod>& methods, const CLSID& current);
  void Close();
  bool IsOpen() const { return window_ && IsWindowVisible(window_); }
  HWND Handle() const { return window_; }

  static constexpr int kRowHeight = 20;
  static constexpr int kWidth = 150;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint();
  LRESULT OnLButtonUp(POINT point);
  int RowCount() const { return static_cast<int>(entries_.size()) + 1; }

  HWND window_ = nullptr;
  std::vector<InstalledInputMethod> entries_;
  CLSID current_{};
  win32::Font font_;
};

}  // namespace tessaline::emulator
