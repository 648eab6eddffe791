// A page of the options sheet. Each page class lays out its controls in a DialogTemplate and
// overrides three steps:
//  - BindControls: find its controls (run first, when the page's window is made);
//  - OnInitialize: fill them from the settings (once, when its tab is first shown);
//  - OnOk: write them into the settings (when the sheet closes with OK, and only if the page was
//    ever shown).
// Pages with command buttons also override OnCommand, pages with sliders OnHScroll. A page is
// created anew for each sheet.
#pragma once

#include <windows.h>
// The common control headers build on <windows.h>.
#include <prsht.h>

#include "options/DialogTemplate.h"
#include "system/WideText.h"

namespace tessaline {

// Size of every page, in dialog units; a page of the device's screen.
constexpr short kPageWidth = 140;
constexpr short kPageHeight = 150;

class CPropertyPage {
 public:
  // tabText: the interface text number of the page's tab caption.
  CPropertyPage(int tabText, WideView layoutCaption);
  virtual ~CPropertyPage() = default;
  CPropertyPage(const CPropertyPage&) = delete;
  CPropertyPage& operator=(const CPropertyPage&) = delete;

  // The page as the sheet takes it; valid while this object lives.
  PROPSHEETPAGEW Describe();

  // The page's window while the sheet shows it, else nullptr.
  HWND Window() const { return window_; }
  // True once the page was initialised (its tab was shown) in this sheet.
  bool Initialized() const { return initialized_; }

 protected:
  DialogTemplate& Layout() { return layout_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }

  virtual void BindControls() {}
  virtual void OnInitialize() {}
  virtual void OnOk() {}
  // A command from one of the page's controls; true when handled.
  virtual bool OnCommand(WORD id, WORD code, HWND control) { return false; }
  // A horizontal slider of the page moved; true when handled.
  virtual bool OnHScroll(HWND control, WORD code) { return false; }

  // The sheet that holds the page (while the page has a window).
  HWND Sheet() const { return window_ ? GetParent(window_) : nullptr; }
  void SetControlText(int id, WideView text);
  void ShowControl(int id, bool shown);
  void EnableControl(int id, bool enabled);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnInitDialog(HWND window);
  INT_PTR OnNotify(const NMHDR& header);
  INT_PTR OnDestroy();

  int tabText_;
  WideString tabCaption_;
  DialogTemplate layout_;
  HWND window_ = nullptr;
  bool initialized_ = false;
};

}  // namespace tessaline
