#include "runtime/CallbackDelivery.h"

#include <limits>

#include "runtime/RuntimeSeams.h"
#include "win32/Handles.h"

namespace tessaline {

void CallbackDelivery::SendString(const char16_t* text, size_t length) {
  if (!callback_ || length == 0) return;
  // A BSTR counts its characters in 32 bits; nothing the input method sends comes near that.
  if (length > std::numeric_limits<UINT>::max() / 2) return;
  const win32::Bstr string(
      std::wstring_view(reinterpret_cast<const wchar_t*>(text), length));
  if (!string) return;  // out of memory: the text is lost, the input method goes on
  callback_->SendString(string.Get(), static_cast<DWORD>(length));
}

void CallbackDelivery::SendVirtualKey(uint8_t code, bool release) {
  if (!callback_) return;
  callback_->SendVirtualKey(code, release ? kKeyEventKeyUp : 0);
}

void CallbackDelivery::Pause(unsigned milliseconds) { RuntimePause(milliseconds); }

}  // namespace tessaline
