// The soft input panel's callback, IIMCallback, as the emulator serves it to the input method:
// the panel's size and icon go to the SIP host, text and keys to the focused window.
#pragma once

#include <windows.h>

#include "platform/InputMethod.h"

namespace tessaline::emulator {

class CallbackSink {
 public:
  virtual ~CallbackSink() = default;
  virtual void OnSetImInfo(const IMINFO& info) = 0;
  virtual void OnSendVirtualKey(BYTE vk, bool release) = 0;
  virtual void OnSendString(const wchar_t* text, size_t length) = 0;
};

// Owned by the SIP host, which outlives every input method it hands it to: the references only
// answer COM's rules, they do not decide the object's life.
class CImCallback final : public IIMCallback {
 public:
  explicit CImCallback(CallbackSink& sink) : sink_(sink) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO* info) override;
  HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE vk, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SendString(BSTR text, DWORD chars) override;

  // A longer string than this is taken for a wrong count rather than read.
  static constexpr DWORD kLongestString = 1 << 16;

 private:
  CallbackSink& sink_;
};

}  // namespace tessaline::emulator
