#include "RecordingCallback.h"

#include <cstdio>

#include "system/WideText.h"

namespace tessaline::testing {

HRESULT RecordingCallback::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IIMCallback)) {
    *object = this;
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT RecordingCallback::SetImInfo(IMINFO*) {
  calls_.push_back("iminfo");
  return S_OK;
}

HRESULT RecordingCallback::SendVirtualKey(BYTE vk, DWORD flags) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s:0x%02X", flags & kKeyEventKeyUp ? "up" : "down", vk);
  calls_.push_back(buffer);
  if (vk == 0x08 && (flags & kKeyEventKeyUp) && !typed_.empty()) typed_.pop_back();
  if (vk == 0x0D && (flags & kKeyEventKeyUp)) typed_.push_back(u'\n');
  return S_OK;
}

HRESULT RecordingCallback::SendString(BSTR text, DWORD chars) {
  if (!text || SysStringLen(text) != chars) ++badLengths;
  const WideView view(reinterpret_cast<const char16_t*>(text), text ? chars : 0);
  calls_.push_back("text:" + WideToUtf8(view));
  typed_.append(view);
  return S_OK;
}

std::u16string RecordingCallback::Typed() const { return typed_; }

}  // namespace tessaline::testing
