// TSInputM: the object that the soft input panel creates when the user picks this input method.
// It ties the input window to the panel's life: Select, Showing and Hiding any number of times,
// Deselect. It tells the panel how large the panel is and which icon the taskbar shows, and
// loads and saves the settings at the right moments. Everything the user sees and does happens
// in the input window (InputWnd.h).
#pragma once

#include <windows.h>
// The image list declarations build on <windows.h>.
#include <commctrl.h>

#include <memory>

#include "Tessaline_h.h"
#include "platform/InputMethod.h"
#include "runtime/InputWnd.h"

namespace tessaline {

class TSInputM : public ITSInputM, public IInputMethod, public InputWindowOwner {
 public:
  // Loads the settings and the interface texts.
  TSInputM();
  TSInputM(const TSInputM&) = delete;
  TSInputM& operator=(const TSInputM&) = delete;

  // IUnknown: ITSInputM, IDispatch, IInputMethod, in this order.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch, served from the type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

  // IInputMethod.
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

  // The input window's slide ended on a new layout: save, tell the panel the new height, and
  // give the window that height.
  void LayoutChanged() override;

 private:
  ~TSInputM();

  void BuildInputWindow();
  // After a change of settings: the window and its pop-ups stay and take the new settings, when
  // the panel's width allows (false: the window must be made anew).
  bool KeepInputWindow();
  // SetImInfo with the panel's rectangle for the current layout.
  void TellPanelSize();
  void DestroyInputWindow();
  void FillImInfo(IMINFO& info) const;

  LONG references_ = 1;
  IIMCallback* callback_ = nullptr;  // the panel's; not reference-counted here
  std::unique_ptr<CInputWnd> inputWindow_;
  HWND sipWindow_ = nullptr;
};

// The panel's screen rectangle as Select stored it, and the taskbar icon list (process-wide).
RECT StoredSipRect();
HIMAGELIST TaskbarIconList();

}  // namespace tessaline
