#include "runtime/CallbackDelivery.h"

#include <limits>

#include "runtime/RuntimeSeams.h"

namespace tessaline {

void CallbackDelivery::SendString(const char16_t* text, size_t length) {
  if (!callback_ || length == 0) return;
  // A BSTR counts its characters in 32 bits; nothing the input method sends comes near that.
  if (length > std::numeric_limits<UINT>::max() / 2) return;
  BSTR string =
      SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text), static_cast<UINT>(length));
  if (!string) return;  // out of memory: the text is lost, the input method goes on
  callback_->SendString(string, static_cast<DWORD>(length));
  SysFreeString(string);
}

void CallbackDelivery::SendVirtualKey(uint8_t code, bool release) {
  if (!callback_) return;
  callback_->SendVirtualKey(code, release ? kKeyEventKeyUp : 0);
}

void CallbackDelivery::Pause(unsigned milliseconds) { RuntimePause(milliseconds); }

}  // namespace tessaline
