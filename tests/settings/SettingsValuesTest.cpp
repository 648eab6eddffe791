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
      {u"UpdateCounter", 4}, {u"NoiseGate", 4},  {u"ThemeFilter", 4},    {u"AddSpace", 4},
      {u"TruncWords", 4},    {u"SingleList", 4}, {u"ShowHint", 4},       {u"AdaptiveVoc", 4},
      {u"FreqMax", 4},       {u"FreqInc", 4},    {u"Locale", 512},       {u"ActiveLayout", 512},
      {u"Buttons", 16384},   {u"Language0", 512}, {u"Language1", 512},   {u"Path", 512},
      {u"PanelFileName", 512}};
  EXPECT_EQ(registry.reads, expected);
  EXPECT_TRUE(s == Defaults());
}

TEST(SettingsValuesTest, NumbersNeedTheirType) {
  FakeRegistry registry;
  registry.Raw(u"FreqMax", kRegistryTypeText, std::string("3\0\0\0", 4));  // fits, wrong type
  registry.Raw(u"FreqInc", 3 /* REG_BINARY */, std::string("\x09\0\0\0", 4));
  registry.Raw(u"NoiseGate", kRegistryTypeNumber, std::string("\x32\0", 2));  // short number
  registry.Raw(u"UpdateCounter", kRegistryTypeNumber, std::string(8, '\x01'));  // too large
  registry.Raw(u"ShowHint", kRegistryTypeNumber, std::string("\0\0\0\x80", 4));
  registry.Raw(u"AddSpace", kRegistryTypeNumber, std::string(4, '\0'));
  Settings s = Defaults();
  OverlayStoredValues(s, registry.Reader());
  EXPECT_EQ(s.FreqMax, 20);
  EXPECT_EQ(s.FreqInc, 4);
  EXPECT_EQ(s.NoiseGate, 50);
  EXPECT_EQ(s.UpdateCounter, 0u);
  EXPECT_TRUE(s.ShowHint);
  EXPECT_FALSE(s.AddSpace);
}

TEST(SettingsValuesTest, TextsByTypeAndSize) {
  FakeRegistry registry;
  registry.Raw(u"Locale", kRegistryTypeNumber, std::string(4, '\0'));
  registry.Text(u"Language1", WideString(256, u'x'));   // 514 bytes: does not fit
  registry.Text(u"Language0", WideString(255, u'y'));   // 512 bytes: fits
  registry.Text(u"ActiveLayout", u"qw", false);         // no terminator of its own
  registry.Text(u"Path", WideString(256, u'p'), false);  // fills the field without terminator
  registry.Raw(u"PanelFileName", kRegistryTypeText, std::string("a\0b\0\0\0c\0", 8));
  registry.Raw(u"Buttons", kRegistryTypeText, std::string("A\0B", 3));  // odd byte count
  Settings s = Defaults();
  OverlayStoredValues(s, registry.Reader());
  EXPECT_EQ(SettingsText(s.Locale), u"");
  EXPECT_EQ(SettingsText(s.Language1), u"");
  EXPECT_EQ(SettingsText(s.Language0), WideString(255, u'y'));
  EXPECT_EQ(SettingsText(s.ActiveLayout), u"qw");
  EXPECT_EQ(s.ActiveLayout[3], u'\0');  // nothing of "main" is left behind
  EXPECT_EQ(SettingsText(s.Path), WideString(255, u'p'));
  EXPECT_EQ(s.Path[255], u'\0');
  EXPECT_EQ(SettingsText(s.PanelFileName), u"ab");
  EXPECT_EQ(s.PanelFileName[3], u'\0');  // what followed the first terminator is dropped
  EXPECT_EQ(SettingsText(s.Buttons), u"A");
}

TEST(SettingsValuesTest, ValuesToStoreInOrderWithTheirSizes) {
  Settings s = Defaults();
  s.UpdateCounter = 0xA1B2C3D4;
  s.NoiseGate = -2;
  SetSettingsText(s.PanelFileName, WideString(200, u'n'));
  SetSettingsText(s.Buttons, u"x");
  const std::vector<ValueToStore> values = ValuesToStore(s);
  std::vector<WideString> names;
  for (const auto& v : values) names.push_back(v.name);
  EXPECT_EQ(names, (std::vector<WideString>{
                       u"UpdateCounter", u"NoiseGate", u"ThemeFilter", u"AddSpace", u"TruncWords",
                       u"SingleList", u"ShowHint", u"AdaptiveVoc", u"FreqMax", u"FreqInc",
                       u"Locale", u"ActiveLayout", u"Buttons", u"Language0", u"Language1",
                       u"PanelFileName"}));
  EXPECT_EQ(values[0].bytes, std::string("\xD4\xC3\xB2\xA1", 4));
  EXPECT_EQ(values[1].bytes, std::string("\xFE\xFF\xFF\xFF", 4));
  EXPECT_EQ(values[2].bytes, std::string("\x01\0\0\0", 4));
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(values[i].type, kRegistryTypeNumber);
  for (size_t i = 10; i < values.size(); ++i) EXPECT_EQ(values[i].type, kRegistryTypeText);
  EXPECT_EQ(values[10].bytes.size(), 512u);
  EXPECT_EQ(values[10].bytes.substr(0, 16), std::string("E\0n\0g\0l\0i\0s\0h\0\0\0", 16));
  EXPECT_EQ(values[12].bytes, std::string("x\0\0\0", 4));
  EXPECT_EQ(values[14].bytes, std::string(512, '\0'));
  EXPECT_EQ(values[15].bytes.size(), 256u);
  EXPECT_EQ(values[15].bytes.substr(254), std::string("n\0", 2));  // no room for a terminator

  // Buttons that lost their terminator are still stored within the field.
  for (char16_t& ch : s.Buttons) ch = u'z';
  EXPECT_EQ(ValuesToStore(s)[12].bytes.size(), 16384u);
  EXPECT_EQ(ValuesToStore(s)[12].bytes.substr(16382), std::string(2, '\0'));
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
}

}  // namespace
}  // namespace tessaline
