// Arbitrary registry contents under the class key: every value may be absent, of any type and of
// any size. Loading must keep every text field terminated inside its field, and saving what was
// loaded must stay within the sizes the values are written with.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/SettingsValues.h"

namespace {

struct Input {
  const uint8_t* data;
  size_t size;
  uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  std::string Bytes(size_t n) {
    n = n < size ? n : size;
    std::string out(reinterpret_cast<const char*>(data), n);
    data += n, size -= n;
    return out;
  }
};

template <size_t N>
void CheckTerminated(const char16_t (&field)[N]) {
  if (field[N - 1] != u'\0') std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input{data, size};
  tessaline::Settings settings;
  tessaline::ResetSettings(settings);
  // Each read takes: one byte whose low bits say present/type, two bytes of length, the bytes.
  // A value larger than the buffer fails to read, as the registry does.
  tessaline::OverlayStoredValues(settings, [&input](const char16_t*, size_t buffer) {
    tessaline::StoredValue value;
    const uint8_t head = input.Byte();
    if ((head & 1) == 0) return value;
    const size_t length = input.Byte() | static_cast<size_t>(input.Byte() & 0x7F) << 8;
    std::string bytes = input.Bytes(length);
    if (bytes.size() > buffer) return value;
    value.read = true;
    value.type = (head >> 1) & 7;
    value.bytes = std::move(bytes);
    return value;
  });
  CheckTerminated(settings.Locale);
  CheckTerminated(settings.Path);
  CheckTerminated(settings.ActiveLayout);
  CheckTerminated(settings.Language0);
  CheckTerminated(settings.Language1);
  CheckTerminated(settings.PanelFileName);
  CheckTerminated(settings.Buttons);
  for (const tessaline::ValueToStore& value : tessaline::ValuesToStore(settings)) {
    const size_t limit = value.type == tessaline::kRegistryTypeNumber ? 4 : 16384;
    if (value.bytes.size() > limit) std::abort();
  }
  return 0;
}
