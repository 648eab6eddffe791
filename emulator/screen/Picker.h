// The input method picker that the arrow beside the panel button opens: every installed input
// method (the current one ticked) and "Options…" for the current one's options. A child of the
// device screen, above the panel, so that the pen and scripts reach it like any other window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "sip/InputMethodDirectory.h"
#include "win32/Handles.h"
#include "win32/MessageWindow.h"

namespace tessaline::emulator {

// WM_COMMAND identifiers the picker sends to its parent: a choice of input method i is
// kPickInputMethod + i.
constexpr UINT kPickOptions = 1;
constexpr UINT kPickInputMethod = 100;

class CPickerWnd final : public win32::MessageWindow {
 public:
  ~CPickerWnd() override { DestroyWindowNow(); }
  bool Create(HWND parent);
  // Opens above the menu bar with these entries.
  void Open(const std::vector<InstalledInputMethod>& methods, const CLSID& current);
  void Close();
  bool IsOpen() const { return Handle() && IsWindowVisible(Handle()); }

  static constexpr int kRowHeight = 20;
  static constexpr int kWidth = 150;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnPaint();
  LRESULT OnLButtonUp(POINT point);
  int RowCount() const { return static_cast<int>(entries_.size()) + 1; }

  std::vector<InstalledInputMethod> entries_;
  CLSID current_{};
  win32::Font font_;
};

}  // namespace tessaline::emulator
