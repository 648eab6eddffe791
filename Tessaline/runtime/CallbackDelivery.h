// Key and text delivery through the soft input panel's callback: the Win32 side of KeyDelivery.
#pragma once

#include "keyscript/KeyScript.h"
#include "platform/InputMethod.h"

namespace tessaline {

// Turns deliveries into IIMCallback calls. The callback belongs to the soft input panel and is
// not reference-counted here; with none registered nothing is sent and nothing fails.
class CallbackDelivery : public KeyDelivery {
 public:
  explicit CallbackDelivery(IIMCallback* callback = nullptr) : callback_(callback) {}

  void SetCallback(IIMCallback* callback) { callback_ = callback; }
  IIMCallback* Callback() const { return callback_; }

  // SendString with a BSTR of exactly `length` characters (SysAllocStringLen), freed after the
  // call: the callback reads the characters during the call and keeps nothing.
  void SendString(const char16_t* text, size_t length) override;
  // SendVirtualKey with flags 0 for the press and KEYEVENTF_KEYUP for the release.
  void SendVirtualKey(uint8_t code, bool release) override;
  // RuntimePause (Sleep, or the test's hook).
  void Pause(unsigned milliseconds) override;

 private:
  IIMCallback* callback_;
};

}  // namespace tessaline
