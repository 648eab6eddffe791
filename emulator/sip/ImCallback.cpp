#include "sip/ImCallback.h"

namespace tessaline::emulator {

HRESULT CImCallback::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IIMCallback) {
    *object = static_cast<IIMCallback*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT CImCallback::SetImInfo(IMINFO* info) {
  if (!info) return E_POINTER;
  sink_.OnSetImInfo(*info);
  return S_OK;
}

HRESULT CImCallback::SendVirtualKey(BYTE vk, DWORD flags) {
  if (vk == 0 || vk == 0xFF) return E_INVALIDARG;
  sink_.OnSendVirtualKey(vk, (flags & kKeyEventKeyUp) != 0);
  return S_OK;
}

// The count is the caller's: the text need not be terminated after it, and need not even be a
// true BSTR, so its length prefix is not consulted. A count beyond any sensible text is refused
// instead of read.
HRESULT CImCallback::SendString(BSTR text, DWORD chars) {
  if (chars == 0) return S_OK;
  if (!text) return E_POINTER;
  if (chars > kLongestString) return E_INVALIDARG;
  sink_.OnSendString(text, chars);
  return S_OK;
}

}  // namespace tessaline::emulator
