#include "settings/SettingsValues.h"

#include <algorithm>
#include <cstring>

#include "system/ByteCoding.h"

namespace tessaline {
namespace {

std::string NumberBytes(uint32_t value) {
  std::string bytes(kNumberValueBytes, '\0');
  for (size_t i = 0; i < kNumberValueBytes; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

uint32_t BytesNumber(const std::string& bytes) {
  // A REG_DWORD shorter than four bytes reads as if the missing bytes were zero.
  uint32_t value = 0;
  for (size_t i = 0; i < bytes.size() && i < kNumberValueBytes; ++i) {
    value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  }
  return value;
}

bool ReadNumber(const StoredValueReader& read, const char16_t* name, uint32_t& out) {
  const StoredValue value = read(name, kNumberValueBytes);
  if (!value.read || value.type != kRegistryTypeNumber) return false;
  out = BytesNumber(value.bytes);
  return true;
}

void OverlayNumber(const StoredValueReader& read, const char16_t* name, uint32_t& field) {
  uint32_t value;
  if (ReadNumber(read, name, value)) field = value;
}

void OverlayNumber(const StoredValueReader& read, const char16_t* name, int32_t& field) {
  uint32_t value;
  if (ReadNumber(read, name, value)) field = static_cast<int32_t>(value);
}

void OverlayBoolean(const StoredValueReader& read, const char16_t* name, bool& field) {
  uint32_t value;
  if (ReadNumber(read, name, value)) field = value != 0;
}

template <size_t N>
void OverlayText(const StoredValueReader& read, const char16_t* name, char16_t (&field)[N]) {
  const StoredValue value = read(name, N * 2);
  if (!value.read) return;
  std::fill(field, field + N, u'\0');
  if (value.type != kRegistryTypeText) return;
  // Whole code units only, and the last unit of the field stays the terminator.
  const size_t units = std::min(value.bytes.size() / 2, N - 1);
  for (size_t i = 0; i < units; ++i) {
    field[i] = ReadLe16(value.bytes, 2 * i);
  }
  // Anything after the first terminator is not part of the text.
  const size_t end = std::find(field, field + N, u'\0') - field;
  std::fill(field + end, field + N, u'\0');
}

template <size_t N>
std::string FieldBytes(const char16_t (&field)[N], size_t units) {
  std::string bytes(units * 2, '\0');
  for (size_t i = 0; i < units && i < N; ++i) StoreLe16(&bytes[2 * i], field[i]);
  return bytes;
}

}  // namespace

void OverlayStoredValues(Settings& s, const StoredValueReader& read) {
  OverlayNumber(read, u"UpdateCounter", s.UpdateCounter);
  OverlayNumber(read, u"NoiseGate", s.NoiseGate);
  OverlayBoolean(read, u"ThemeFilter", s.ThemeFilter);
  OverlayBoolean(read, u"AddSpace", s.AddSpace);
  OverlayBoolean(read, u"TruncWords", s.TruncWords);
  OverlayBoolean(read, u"SingleList", s.SingleList);
  OverlayBoolean(read, u"ShowHint", s.ShowHint);
  OverlayBoolean(read, u"AdaptiveVoc", s.AdaptiveVoc);
  OverlayNumber(read, u"FreqMax", s.FreqMax);
  OverlayNumber(read, u"FreqInc", s.FreqInc);

  OverlayText(read, u"Locale", s.Locale);
  OverlayText(read, u"ActiveLayout", s.ActiveLayout);
  OverlayText(read, u"Buttons", s.Buttons);
  OverlayText(read, u"Language0", s.Language0);
  OverlayText(read, u"Language1", s.Language1);
  OverlayText(read, u"Path", s.Path);
  OverlayText(read, u"PanelFileName", s.PanelFileName);
}

std::vector<ValueToStore> ValuesToStore(const Settings& s) {
  std::vector<ValueToStore> values;
  auto number = [&](const char16_t* name, uint32_t value) {
    values.push_back({name, kRegistryTypeNumber, NumberBytes(value)});
  };
  number(u"UpdateCounter", s.UpdateCounter);
  number(u"NoiseGate", static_cast<uint32_t>(s.NoiseGate));
  number(u"ThemeFilter", s.ThemeFilter ? 1 : 0);
  number(u"AddSpace", s.AddSpace ? 1 : 0);
  number(u"TruncWords", s.TruncWords ? 1 : 0);
  number(u"SingleList", s.SingleList ? 1 : 0);
  number(u"ShowHint", s.ShowHint ? 1 : 0);
  number(u"AdaptiveVoc", s.AdaptiveVoc ? 1 : 0);
  number(u"FreqMax", static_cast<uint32_t>(s.FreqMax));
  number(u"FreqInc", static_cast<uint32_t>(s.FreqInc));

  values.push_back({u"Locale", kRegistryTypeText, FieldBytes(s.Locale, kSettingsTextUnits)});
  values.push_back(
      {u"ActiveLayout", kRegistryTypeText, FieldBytes(s.ActiveLayout, kSettingsTextUnits)});
  // The text and its terminator; a field that somehow lost its terminator is stored as its
  // first 8191 units and a terminator, never beyond the field.
  const size_t buttons = std::min(SettingsText(s.Buttons).size(), kSettingsButtonsUnits - 1);
  std::string buttonBytes = FieldBytes(s.Buttons, buttons);
  buttonBytes.append(2, '\0');
  values.push_back({u"Buttons", kRegistryTypeText, std::move(buttonBytes)});
  values.push_back({u"Language0", kRegistryTypeText, FieldBytes(s.Language0, kSettingsTextUnits)});
  values.push_back({u"Language1", kRegistryTypeText, FieldBytes(s.Language1, kSettingsTextUnits)});
  values.push_back({u"PanelFileName", kRegistryTypeText,
                    FieldBytes(s.PanelFileName, kPanelFileNameValueBytes / 2),
                    s.PanelFileName[kPanelFileNameValueBytes / 2]});
  return values;
}

}  // namespace tessaline
