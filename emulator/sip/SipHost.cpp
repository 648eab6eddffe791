#include "sip/SipHost.h"

#include <objbase.h>

#include <algorithm>
#include <cstdarg>
#include <string>
#include <utility>

#include "screen/DeviceLayout.h"
#include "sip/InputMethodDirectory.h"
#include "system/WideText.h"

namespace tessaline::emulator {

SipHost::SipHost(HWND sipWindow, SipHostListener& listener)
    : sipWindow_(sipWindow),
      listener_(listener),
      callback_(*this),
      keys_([this] { return listener_.KeyTarget(); }) {}

SipHost::~SipHost() { Deactivate(); }

void SipHost::Trace(const char* format, ...) {
  if (!trace_) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(trace_, format, args);
  va_end(args);
  std::fputc('\n', trace_);
  std::fflush(trace_);
}

bool SipHost::Activate(const CLSID& clsid, std::wstring& error) {
  Deactivate();
  win32::ComPtr<IInputMethod> method;
  const HRESULT created =
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IInputMethod,
                       reinterpret_cast<void**>(method.Put()));
  if (FAILED(created) || !method) {
    wchar_t text[64];
    swprintf(text, 64, L"0x%08lX", static_cast<unsigned long>(created));
    error = L"cannot create the input method " + ClsidText(clsid) + L" (" + text + L")";
    return false;
  }
  method_ = std::move(method);
  current_ = clsid;
  Trace("CoCreateInstance %s", WideToUtf8(ClsidText(clsid)).c_str());
  originAtSelect_ = listener_.DeviceOrigin();
  method_->Select(sipWindow_);
  Trace("Select");
  method_->RegisterCallback(&callback_);
  Trace("RegisterCallback");
  if (shown_) {
    shown_ = false;
    Show();
  }
  return true;
}

void SipHost::Deactivate() {
  if (!method_) return;
  if (shown_) {
    method_->Hiding();
    Trace("Hiding");
  }
  method_->Deselect();
  Trace("Deselect");
  keys_.ReleaseAll();
  // Forgotten before it is released, as the release may call back.
  method_.Reset();
  listener_.OnTaskbarIcon(nullptr);
}

HMODULE SipHost::MethodModule() const {
  if (!method_) return nullptr;
  const void* methods = *reinterpret_cast<void* const*>(method_.Get());
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(methods), &module)) {
    return nullptr;
  }
  return module;
}

void SipHost::Show() {
  if (shown_) return;
  shown_ = true;
  if (method_) {
    Trace("Showing");
    method_->Showing();
  }
  ShowWindow(sipWindow_, SW_SHOWNA);
  UpdateWindow(sipWindow_);
}

void SipHost::Hide() {
  if (!shown_) return;
  shown_ = false;
  ShowWindow(sipWindow_, SW_HIDE);
  if (method_) {
    Trace("Hiding");
    method_->Hiding();
  }
}

void SipHost::Options(HWND owner) {
  if (!method_) return;
  Trace("UserOptionsDlg");
  // The input method may be switched or released while its options are open; keep it alive.
  const win32::ComPtr<IInputMethod> method = method_;
  method->UserOptionsDlg(owner);
}

void SipHost::OnSetImInfo(const IMINFO& info) {
  // The input method places its panel in screen coordinates from the panel window's place it
  // read at Select; on the device the screen is the device screen.
  const RECT wanted{info.rcSipRect.left - originAtSelect_.x, info.rcSipRect.top - originAtSelect_.y,
                    info.rcSipRect.right - originAtSelect_.x,
                    info.rcSipRect.bottom - originAtSelect_.y};
  Trace("SetImInfo %ld,%ld,%ld,%ld flags %lu", wanted.left, wanted.top, wanted.right, wanted.bottom,
        static_cast<unsigned long>(info.fdwFlags));
  RECT fitted;
  if (FitPanelRect(wanted, fitted)) listener_.OnPanelRect(fitted);
  listener_.OnTaskbarIcon(info.hImageNarrow);
}

void SipHost::OnSendVirtualKey(BYTE vk, bool release) {
  Trace("SendVirtualKey 0x%02X %s", vk, release ? "up" : "down");
  keys_.SendVirtualKey(vk, release);
}

void SipHost::OnSendString(const wchar_t* text, size_t length) {
  Trace("SendString \"%s\"", WideToUtf8(std::wstring_view(text, length)).c_str());
  keys_.SendString(text, length);
}

bool FitPanelRect(const RECT& wanted, RECT& fitted) {
  if (wanted.right <= wanted.left || wanted.bottom <= wanted.top) return false;
  fitted.left = std::max<LONG>(wanted.left, 0);
  fitted.right = std::min<LONG>(wanted.right, kScreenWidth);
  fitted.top = std::max<LONG>(wanted.top, kTitleBarHeight);
  fitted.bottom = std::min<LONG>(wanted.bottom, kMenuBarTop);
  return fitted.right > fitted.left && fitted.bottom > fitted.top;
}

}  // namespace tessaline::emulator
