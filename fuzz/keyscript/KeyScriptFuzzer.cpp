// Arbitrary UTF-16 text as a button's key script: compiling and sending never read past the
// text, every key event of the compiled text is well formed, and a compiled script holds no mark
// that the sender could misread.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "keyscript/KeyScript.h"
#include "system/ByteCoding.h"

namespace {

class CountingDelivery : public tessaline::KeyDelivery {
 public:
  void SendString(const char16_t* text, size_t length) override {
    if (length == 0) std::abort();
    for (size_t i = 0; i < length; ++i) sum_ += text[i];
  }
  void SendVirtualKey(uint8_t code, bool) override { sum_ += code; }
  void Pause(unsigned milliseconds) override {
    if (milliseconds != tessaline::kKeyScriptPauseMilliseconds) std::abort();
  }
  unsigned sum_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string script(size / 2, u'\0');
  for (size_t i = 0; i < script.size(); ++i) script[i] = tessaline::ReadLe16(data + 2 * i);
  const std::u16string compiled = tessaline::CompileKeyScript(script);
  for (const auto& event : tessaline::ReadCompiledKeyScript(compiled)) {
    if (event.isKey && event.action > tessaline::kReleaseOnly) std::abort();
    if (!event.isKey && event.text.find(tessaline::kKeyEventMark) != std::u16string::npos) {
      std::abort();
    }
  }
  CountingDelivery delivery;
  tessaline::SendKeyScript(compiled, delivery);
  // The raw text too, as a sender may be handed text nobody compiled.
  tessaline::SendKeyScript(script, delivery);
  return 0;
}
