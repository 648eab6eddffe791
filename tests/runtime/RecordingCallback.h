// The soft input panel's callback as a test sees it: every SendString and SendVirtualKey call in
// order, as "text:abc", "down:0x08", "up:0x08" (and "iminfo" for SetImInfo).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/InputMethod.h"

namespace tessaline::testing {

class RecordingCallback : public IIMCallback {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

  HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO* info) override;
  HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE vk, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SendString(BSTR text, DWORD chars) override;

  const std::vector<std::string>& Calls() const { return calls_; }
  void Clear() {
    calls_.clear();
    typed_.clear();
  }
  // The text the calls would leave in an empty edit box (Backspace removes the last character).
  std::u16string Typed() const;
  // Strings whose BSTR length differed from the character count given with them.
  int badLengths = 0;

 private:
  ULONG references_ = 1;
  std::vector<std::string> calls_;
  std::u16string typed_;
};

}  // namespace tessaline::testing
