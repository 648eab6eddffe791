// The registry values of the settings record: names, types, sizes, and the rules by which stored
// values overlay the record and the record becomes values to store. The registry calls
// themselves are in SettingsStore (Win32); this part is portable, so that the rules are tested
// and fuzzed on every build.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace tessaline {

// Registry value types, with the numbers the registry gives them.
constexpr uint32_t kRegistryTypeText = 1;    // REG_SZ
constexpr uint32_t kRegistryTypeNumber = 4;  // REG_DWORD (little-endian)

// Sizes of what is stored, in bytes.
constexpr size_t kNumberValueBytes = 4;
constexpr size_t kTextValueBytes = kSettingsTextUnits * 2;        // Locale, ActiveLayout, ...
constexpr size_t kButtonsValueBytes = kSettingsButtonsUnits * 2;  // the read buffer of Buttons
constexpr size_t kPanelFileNameValueBytes = 256;  // the first 128 units of PanelFileName

// One value as a read of the class key gave it.
struct StoredValue {
  bool read = false;  // the read succeeded: the value exists and fit the buffer
  uint32_t type = 0;
  std::string bytes;  // what was read, never more than the buffer
};

// Reads the named value into a buffer of bufferBytes. A value that does not fit gives read ==
// false, as does a value that is not there.
using StoredValueReader = std::function<StoredValue(const char16_t* name, size_t bufferBytes)>;

// Overlays the stored values on the record, in the order of loading:
//  - the numbers UpdateCounter, NoiseGate, ThemeFilter, AddSpace, TruncWords, SingleList,
//    ShowHint, AdaptiveVoc, FreqMax, FreqInc, each read with a 4-byte buffer and taken only when
//    read as REG_DWORD (a boolean is true for any non-zero number); otherwise the field keeps
//    its value;
//  - the texts Locale, ActiveLayout, Buttons, Language0, Language1, Path, PanelFileName, each
//    read with the field's full size as the buffer: a failed read (absent, or longer than the
//    field) keeps the field; a read of another type than REG_SZ empties it; a text is taken up to
//    its first terminator and always stays terminated inside its field, even when the stored
//    bytes carry no terminator of their own.
void OverlayStoredValues(Settings& settings, const StoredValueReader& read);

// One value to write.
struct ValueToStore {
  const char16_t* name;
  uint32_t type;
  std::string bytes;
  // The unit that follows the bytes in the record. The registry stores a text whose last unit
  // is not a terminator one unit longer when the unit after it is a terminator (it takes the
  // terminator as forgotten), so the writer must hand over that unit too for the stored size to
  // be what the record holds, and never let the system read past its buffer.
  char16_t followingUnit = u'\0';
};

// Every value but Path, in the order of saving, with the exact bytes written: numbers and
// booleans (0 or 1) as 4-byte REG_DWORD; Locale and ActiveLayout as the whole 512-byte field;
// Buttons as (length + 1) * 2 bytes; Language0 and Language1 as the whole field; PanelFileName
// as its first 256 bytes.
std::vector<ValueToStore> ValuesToStore(const Settings& settings);

}  // namespace tessaline
