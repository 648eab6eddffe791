// The device screen: the Pocket PC shell around the Notes application. It draws the title bar
// and the menu bar, holds the Notes box (which has the focus and receives the text), the soft
// input panel's window that the input method's window lives in, and the input method picker;
// it hosts the current input method and follows the device's choice of it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "screen/Chrome.h"
#include "screen/Picker.h"
#include "sip/InputMethodDirectory.h"
#include "sip/SipHost.h"
#include "win32/Handles.h"
#include "win32/MessageWindow.h"

namespace tessaline::emulator {

// The device screen is a bare pop-up window: headless it is the host's screen, in a window it
// lies beneath the view (screen/ZoomWnd.h) that a person sees and touches.
struct DeviceOptions {
  POINT position{CW_USEDEFAULT, CW_USEDEFAULT};
  FILE* trace = nullptr;
};

class CDeviceWnd final : public win32::MessageWindow, public SipHostListener {
 public:
  CDeviceWnd();
  ~CDeviceWnd() override;

  bool Create(const DeviceOptions& options);
  HWND Notes() const { return notes_; }
  HWND SipWindow() const { return sip_; }
  HWND PickerWindow() const { return picker_.Handle(); }
  SipHost& Host() { return *host_; }

  // Starts the device's current input method; the error says why when none could be started.
  bool StartInputMethod(std::wstring& error);
  // Looks at the device's current input method again and switches to it if it changed.
  void FollowCurrentInputMethod();
  // The panel button: the panel is shown or hidden through the device services (SipShowIM), as
  // the shell of a device does it.
  void ShowPanel();
  void HidePanel();
  void TogglePanel();
  void OpenPicker();
  void OpenOptions();
  // Called when a program of the device requests a soft reset; the device's start plays it.
  void SetSoftResetHandler(std::function<void()> handler) { softReset_ = std::move(handler); }

  // The Notes text with its line breaks as "\n".
  std::wstring NotesText() const;
  const RECT& PanelRect() const { return panelRect_; }
  POINT DeviceOrigin() override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  static LRESULT CALLBACK SipWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  LRESULT OnPaint();
  LRESULT OnLButtonDown(POINT point);
  LRESULT OnTimer(UINT_PTR id);
  LRESULT OnCommand(UINT id);
  LRESULT OnSetFocus();
  LRESULT OnDestroy();
  // The device services' notification "TessalineDeviceChange" (platform/DeviceNotify.h).
  LRESULT OnDeviceChange(WPARAM kind, LPARAM detail);

  // SipHostListener
  void OnPanelRect(const RECT& deviceRect) override;
  void OnTaskbarIcon(HANDLE imageList) override;
  HWND KeyTarget() override;

  // Shows or hides the panel as the device's state now says; nothing when it is so already.
  void ApplyPanel(bool shown);
  // Places the panel at once, and the Notes box above it when the thread next looks at its
  // messages.
  void Layout();
  void LayoutNotes();
  static constexpr UINT kLayoutNotesMessage = WM_APP + 40;
  void UpdateClock(bool repaint);

  HWND notes_ = nullptr;
  HWND sip_ = nullptr;
  CPickerWnd picker_;
  std::unique_ptr<SipHost> host_;
  std::unique_ptr<InputMethodDirectory> directory_;
  std::vector<InstalledInputMethod> pickerEntries_;
  ChromeState chrome_;
  RECT panelRect_{};
  bool notesLayoutPosted_ = false;
  win32::Font notesFont_;
  FILE* trace_ = nullptr;
  UINT changedMessage_ = 0;
  std::function<void()> softReset_;
};

}  // namespace tessaline::emulator
