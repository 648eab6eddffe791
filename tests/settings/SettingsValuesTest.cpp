// The rules by which registry values become settings and settings become registry values, on a
// stand-in registry that answers reads as the real one does (a value larger than the buffer
// fails to read).
#include <gtest/gtest.h>

#include <map>

#include "settings/SettingsValues.h"

namespace tessaline {
namespace {

struct FakeRegistry {
  std::map<WideString, StoredValue> values;
  std::vector<std::pair<WideString, size_t>> reads;

  void Text(const WideString& name, const WideString& text, bool terminator = true) {
    StoredValue v{true, kRegistryTypeText, {}};
    for (char16_t ch : text) v.bytes += {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
    if (terminator) v.bytes.append(2, '\0');
    values[name] = v;
  }
  void Raw(const WideString& name, uint32_t type, std::string bytes) {
    values[name] = StoredValue{true, type, std::move(bytes)};
  }
  StoredValueReader Reader() {
    return [this](const char16_t* name, size_t buffer) {
      reads.emplace_back(name, buffer);
      const auto it = values.find(name);
      if (it == values.end() || it->second.bytes.size() > buffer) return StoredValue{};
      return it->second;
    };
  }
};

Settings Defaults() {
  Settings s;
  ResetSettings(s);
  return s;
}

TEST(SettingsValuesTest, ReadOrderAndBufferSizes) {
  FakeRegistry registry;
  Settings s = Defaults();
  OverlayStoredValues(s, registry.Reader());
  const std::vector<std::pair<WideString, size_t>> expected = {
      {u"UpdateCounter", 4},  {u"NoiseGate", 4},   {u"ThemeFilter", 4}, {u"AddSpace", 4},
      {u"TruncWords", 4},     {u"SingleList", 4},  {u"ShowHint", 4},    {u"AdaptiveVoc", 4},
      {u"FreqMax", 4},        {u"FreqInc", 4},     {u"Locale", 512},    {u"ActiveLayout", 512},
      {u"Buttons", 16384},    {u"Language0", 512}, {u"Language1", 512}, {u"Path", 512},
      {u"PanelFileName", 512}};
  EXPECT_EQ(registry.reads, expected);
  EXPECT_TRUE(s == Defaults());
}

// Stored bytes that the registry tests cannot easily make: short numbers, odd byte counts,
// texts that fill their field without a terminator or carry text after their terminator.
TEST(SettingsValuesTest, OddStoredBytes) {
  FakeRegistry registry;
  registry.Raw(u"NoiseGate", kRegistryTypeNumber, std::string("\x32\0", 2));
  registry.Raw(u"UpdateCounter", kRegistryTypeNumber, std::string(8, '\x01'));  // too large
  registry.Raw(u"ShowHint", kRegistryTypeNumber, std::string("\0\0\0\x80", 4));
  registry.Text(u"Path", WideString(256, u'p'), false);
  registry.Raw(u"PanelFileName", kRegistryTypeText, std::string("a\0b\0\0\0c\0", 8));
  registry.Raw(u"Buttons", kRegistryTypeText, std::string("A\0B", 3));
  Settings s = Defaults();
  OverlayStoredValues(s, registry.Reader());
  EXPECT_EQ(s.NoiseGate, 50);
  EXPECT_EQ(s.UpdateCounter, 0u);
  EXPECT_TRUE(s.ShowHint);
  EXPECT_EQ(SettingsText(s.Path), WideString(255, u'p'));
  EXPECT_EQ(s.Path[255], u'\0');
  EXPECT_EQ(SettingsText(s.PanelFileName), u"ab");
  EXPECT_EQ(s.PanelFileName[3], u'\0');  // what followed the first terminator is dropped
  EXPECT_EQ(SettingsText(s.Buttons), u"A");
}

TEST(SettingsValuesTest, StoreThenLoadGivesTheSameRecord) {
  Settings s = Defaults();
  s.UpdateCounter = 12;
  s.TruncWords = true;
  s.ThemeFilter = false;
  s.FreqInc = 1;
  SetSettingsText(s.Locale, u"Fran\u00E7ais");
  SetSettingsText(s.Language1, u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439");
  SetSettingsText(s.Buttons, WideString(8191, u'b'));
  FakeRegistry registry;
  for (const auto& v : ValuesToStore(s)) registry.Raw(v.name, v.type, v.bytes);
  Settings loaded = Defaults();
  OverlayStoredValues(loaded, registry.Reader());
  EXPECT_TRUE(loaded == s);

  // Buttons that lost their terminator are still stored within the field, terminated.
  for (char16_t& ch : s.Buttons) ch = u'z';
  const std::string buttons = ValuesToStore(s)[12].bytes;
  EXPECT_EQ(buttons.size(), 16384u);
  EXPECT_EQ(buttons.substr(16382), std::string(2, '\0'));
}

}  // namespace
}  // namespace tessaline
