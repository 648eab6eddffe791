// What the tests of the COM object share: the product installed into the test prefix the way a
// person installs it (files copied to \Program files\Tessaline, the library registered by
// regsvr32), a soft input panel window, and a callback that records every call.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/InputMethod.h"

namespace tessaline::testing {

// Runs a program of the prefix and waits for it; its exit code, or -1 when it does not start.
int RunAndWait(const std::wstring& commandLine);

// "C:\Program files\Tessaline", the device's installation folder in the test prefix.
std::wstring InstallFolder();

// Copies Tessaline.dll, the shipped English and German languages and the panels into the
// installation folder (once per process) and registers the library there with regsvr32.
void InstallProduct();
// regsvr32 /u of the installed library.
int UnregisterProduct();
int RegisterProduct();

// One recorded callback call: "SetImInfo", "SendString:text", "SendVirtualKey:8:0".
class SipCallback : public IIMCallback {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO* info) override;
  HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE vk, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SendString(BSTR text, DWORD chars) override;

  std::vector<std::string> calls;
  std::vector<IMINFO> infos;
  // Once set, any call is a failure: the object must not use a callback it was told to forget.
  bool forbidden = false;
};

// A top-level window standing for the soft input panel, 240 pixels wide at the bottom of a
// 240 by 320 screen area.
class SipWindow {
 public:
  SipWindow(int height = 80);
  ~SipWindow();
  HWND Get() const { return window_; }
  // The input method's child window named "Input window", or null.
  HWND InputWindow() const;

 private:
  HWND window_ = nullptr;
};

// Pumps the thread's messages that are waiting.
void PumpMessages();

}  // namespace tessaline::testing
