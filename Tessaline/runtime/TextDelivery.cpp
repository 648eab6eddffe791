#include "runtime/TextDelivery.h"

#include "keyscript/KeyScript.h"

namespace tessaline {

void TextDelivery::SendKey(uint8_t vk) {
  if (spelling_ && spelling_->SpellingMode()) {
    if (vk == kVkBack) spelling_->SpellingBackspace();
  } else {
    delivery_.SendVirtualKey(vk, false);
    delivery_.SendVirtualKey(vk, true);
  }
  autoSpacePending_ = false;
}

void TextDelivery::SendBackspaces(int n) {
  if (n > 0) autoSpacePending_ = false;
  for (int i = 0; i < n; ++i) SendKey(kVkBack);
}

void TextDelivery::SendText(WideView text) {
  delivery_.SendString(text.data(), text.size());
  // Whatever was sent now follows a committed word's space: the next punctuation must not take
  // it back (a commit marks its own space again after sending it).
  autoSpacePending_ = false;
}

void TextDelivery::SendKeyScript(WideView script) {
  const WideString compiled = CompileKeyScript(script);
  if (compiled.empty()) return;
  tessaline::SendKeyScript(compiled, delivery_);
  autoSpacePending_ = false;
}

}  // namespace tessaline
