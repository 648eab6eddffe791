// The soft input panel's side of the input method lifecycle: the current input method created
// through COM from the registry, then Select, RegisterCallback, Showing and Hiding as the panel
// is shown and hidden, UserOptionsDlg for its options, and Deselect when it is switched or the
// device stops. SetImInfo moves and sizes the panel; text and keys go to the focused window.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>

#include "sip/ImCallback.h"
#include "sip/KeyDelivery.h"
#include "win32/ComPtr.h"

namespace tessaline::emulator {

class SipHostListener {
 public:
  virtual ~SipHostListener() = default;
  // The panel's rectangle in device pixels, as the input method last set it.
  virtual void OnPanelRect(const RECT& deviceRect) = 0;
  virtual void OnTaskbarIcon(HANDLE imageList) = 0;
  // The window that text and keys go to now.
  virtual HWND KeyTarget() = 0;
  // Where the device screen's top left corner lies on the host's screen.
  virtual POINT DeviceOrigin() = 0;
};

class SipHost final : public CallbackSink {
 public:
  SipHost(HWND sipWindow, SipHostListener& listener);
  ~SipHost();
  SipHost(const SipHost&) = delete;
  SipHost& operator=(const SipHost&) = delete;

  // Creates the input method of that class and selects it into the panel (shown again when the
  // panel is shown). False, with the reason in `error`, when it cannot be created.
  bool Activate(const CLSID& clsid, std::wstring& error);
  // Hiding (when shown), Deselect and release.
  void Deactivate();
  bool IsActive() const { return method_ != nullptr; }
  const CLSID& Current() const { return current_; }
  // The library whose code serves the current input method (null without one): the module that
  // holds its interface's table of methods.
  HMODULE MethodModule() const;

  void Show();
  void Hide();
  bool IsShown() const { return shown_; }
  // The input method's options, with the owner window given to it.
  void Options(HWND owner);

  KeyDelivery& Keys() { return keys_; }
  // The callback the input method gets, for keys that a script sends as an input method would.
  IIMCallback& Callback() { return callback_; }
  // With a trace file, every call between the panel and the input method is written to it.
  void SetTrace(FILE* trace) { trace_ = trace; }

  // CallbackSink
  void OnSetImInfo(const IMINFO& info) override;
  void OnSendVirtualKey(BYTE vk, bool release) override;
  void OnSendString(const wchar_t* text, size_t length) override;

 private:
  void Trace(const char* format, ...);

  HWND sipWindow_;
  SipHostListener& listener_;
  CImCallback callback_;
  KeyDelivery keys_;
  win32::ComPtr<IInputMethod> method_;
  CLSID current_{};
  POINT originAtSelect_{};  // the device's origin when the input method read the panel's place
  bool shown_ = false;
  FILE* trace_ = nullptr;
};

// Clamps an input method's panel rectangle (device pixels) to the room between the title bar
// and the menu bar. False for a rectangle that is empty or lies outside that room entirely.
bool FitPanelRect(const RECT& wanted, RECT& fitted);

}  // namespace tessaline::emulator
