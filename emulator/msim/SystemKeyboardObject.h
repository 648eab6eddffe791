// The system keyboard's COM object: IInputMethod over the keypad window.
#pragma once

#include <windows.h>
// The common controls' header needs the Windows header before it.
#include <commctrl.h>

#include <atomic>

#include "KeypadWnd.h"
#include "platform/InputMethod.h"
#include "win32/Handles.h"

namespace tessaline::msim {

// Objects alive in the library (DllCanUnloadNow).
extern std::atomic<long> g_liveObjects;

class CSystemKeyboard final : public IInputMethod {
 public:
  CSystemKeyboard();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Select(HWND sipWindow) override;
  HRESULT STDMETHODCALLTYPE Deselect() override;
  HRESULT STDMETHODCALLTYPE Showing() override;
  HRESULT STDMETHODCALLTYPE Hiding() override;
  HRESULT STDMETHODCALLTYPE GetInfo(IMINFO* info) override;
  HRESULT STDMETHODCALLTYPE ReceiveSipInfo(SIPINFO* info) override;
  HRESULT STDMETHODCALLTYPE RegisterCallback(IIMCallback* callback) override;
  HRESULT STDMETHODCALLTYPE GetImData(DWORD size, void* data) override;
  HRESULT STDMETHODCALLTYPE SetImData(DWORD size, void* data) override;
  HRESULT STDMETHODCALLTYPE UserOptionsDlg(HWND owner) override;

 private:
  ~CSystemKeyboard();
  int RowHeight() const;
  void Fill(IMINFO& info) const;
  void ReportPanel();
  static win32::ImageList MakeIcons();

  std::atomic<ULONG> references_{1};
  HWND sipWindow_ = nullptr;
  RECT sipRect_{};
  IIMCallback* callback_ = nullptr;  // the panel's; not reference-counted, as the panel owns it
  win32::ImageList icons_;
  bool largeKeys_ = false;
  CKeypadWnd keypad_;
};

}  // namespace tessaline::msim
