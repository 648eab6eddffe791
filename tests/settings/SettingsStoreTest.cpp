// The settings record against the real registry: what loading takes, and the exact bytes that
// saving leaves in the class key.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "RegistrySnapshot.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "support/TestFiles.h"

namespace tessaline {
namespace {

using testing::NumberBytes;
using testing::ReadRegistryKey;
using testing::ReadRegistryValue;
using testing::RegistrySnapshot;
using testing::RegistryValue;
using testing::TextBytes;
using testing::WriteRegistryValue;

const std::wstring kKey = reinterpret_cast<const wchar_t*>(kClassKey);

// The fixed-size text fields as saving writes them: the text, its terminator and zeros.
std::string FieldBytes(const std::wstring& text, size_t bytes) {
  std::string out = TextBytes(text, false);
  out.resize(bytes, '\0');
  return out;
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest() : snapshot_(HKEY_CLASSES_ROOT, kKey), root_(dir_.Path()) {
    snapshot_.MakeEmpty();
    // An installation folder with a usable panel file, so that loading shows no message.
    dir_.Write("Program files/Tessaline/Layouts/compact_white.pan", "default_sx=240\n");
    WriteText(L"Path", L"\\Program files\\Tessaline");
  }
  ~SettingsStoreTest() override { ResetSettings(GetSettings()); }

  void WriteText(const std::wstring& name, const std::wstring& text) {
    WriteRegistryValue(HKEY_CLASSES_ROOT, kKey, name, REG_SZ, TextBytes(text));
  }
  void WriteNumber(const std::wstring& name, DWORD value) {
    WriteRegistryValue(HKEY_CLASSES_ROOT, kKey, name, REG_DWORD, NumberBytes(value));
  }
  RegistryValue Stored(const std::wstring& name) {
    return ReadRegistryValue(HKEY_CLASSES_ROOT, kKey, name).value_or(RegistryValue{});
  }

  RegistrySnapshot snapshot_;
  testing::TempDir dir_;
  testing::DeviceRootScope root_;
};

TEST_F(SettingsStoreTest, NoValuesGiveTheDefaults) {
  GetSettings().FreqMax = 99;  // loading starts from the defaults, not from memory
  LoadSettings();
  Settings expected;
  ResetSettings(expected);
  SetSettingsText(expected.Path, u"\\Program files\\Tessaline");
  EXPECT_TRUE(GetSettings() == expected);
}

TEST_F(SettingsStoreTest, StoredValuesOverlayTheDefaults) {
  WriteNumber(L"UpdateCounter", 0xFFFFFFFF);
  WriteNumber(L"NoiseGate", 30);
  WriteNumber(L"ThemeFilter", 0);
  WriteNumber(L"TruncWords", 7);  // any non-zero number is true
  WriteNumber(L"FreqInc", 9);
  WriteText(L"Locale", L"Deutsch");
  WriteText(L"ActiveLayout", L"qwerty");
  WriteText(L"Language0", L"Deutsch");
  WriteText(L"Language1", L"English");
  WriteText(L"Buttons", L"A\x0002VK_A\x0001");
  LoadSettings();
  const Settings& s = GetSettings();
  EXPECT_EQ(s.UpdateCounter, 0xFFFFFFFFu);
  EXPECT_EQ(s.NoiseGate, 30);
  EXPECT_FALSE(s.ThemeFilter);
  EXPECT_TRUE(s.TruncWords);
  EXPECT_TRUE(s.AddSpace);  // absent: default
  EXPECT_EQ(s.FreqMax, 20);
  EXPECT_EQ(s.FreqInc, 9);
  EXPECT_EQ(SettingsText(s.Locale), u"Deutsch");
  EXPECT_EQ(SettingsText(s.ActiveLayout), u"qwerty");
  EXPECT_EQ(SettingsText(s.Language0), u"Deutsch");
  EXPECT_EQ(SettingsText(s.Language1), u"English");
  EXPECT_EQ(SettingsText(s.Buttons), u"A\u0002VK_A\u0001");
}

TEST_F(SettingsStoreTest, WrongTypesAndOversizedValues) {
  WriteText(L"FreqMax", L"30");  // text for a number
  WriteRegistryValue(HKEY_CLASSES_ROOT, kKey, L"FreqInc", REG_BINARY, NumberBytes(9));
  WriteNumber(L"Locale", 5);                         // number for a text
  WriteText(L"Language1", std::wstring(300, L'x'));  // longer than the field
  WriteText(L"Buttons", std::wstring(9000, L'b'));   // longer than the field
  WriteText(L"Language0", L"");                      // present but empty
  // Stored without a terminator: the text must not run into the default behind it.
  WriteRegistryValue(HKEY_CLASSES_ROOT, kKey, L"ActiveLayout", REG_SZ, TextBytes(L"qw", false));
  LoadSettings();
  const Settings& s = GetSettings();
  EXPECT_EQ(s.FreqMax, 20);
  EXPECT_EQ(s.FreqInc, 4);
  EXPECT_EQ(SettingsText(s.Locale), u"");
  EXPECT_EQ(SettingsText(s.Language1), u"");
  EXPECT_EQ(SettingsText(s.Buttons), kDefaultButtons);
  EXPECT_EQ(SettingsText(s.Language0), u"");
  EXPECT_EQ(SettingsText(s.ActiveLayout), u"qw");
}

TEST_F(SettingsStoreTest, LongestTextsThatFit) {
  WriteText(L"Language1", std::wstring(255, L'y'));
  WriteText(L"Locale", std::wstring(256, L'z'));  // 514 bytes: one unit too many
  LoadSettings();
  EXPECT_EQ(SettingsText(GetSettings().Language1), WideString(255, u'y'));
  EXPECT_EQ(SettingsText(GetSettings().Locale), u"English");
}

TEST_F(SettingsStoreTest, SaveWritesWhatChangedWithItsExactSize) {
  LoadSettings();
  Settings& s = GetSettings();
  s.UpdateCounter = 0x01020304;  // only ever raised from the key (RaiseCounterAndSave)
  s.NoiseGate = 50;
  s.SingleList = true;
  s.ThemeFilter = false;
  s.FreqMax = -1;
  SetSettingsText(s.Locale, u"Fran\u00E7ais");
  SetSettingsText(s.Language0, u"English");  // as it was: not written
  SetSettingsText(s.Language1, u"Deutsch");
  SetSettingsText(s.Path, u"\\Elsewhere");  // never written
  SetSettingsText(s.PanelFileName, u"big.pan");
  SetSettingsText(s.Buttons, u"Tab\u0002VK_TAB\u0001");
  ASSERT_EQ(SaveSettings(), ERROR_SUCCESS);

  const auto key = ReadRegistryKey(HKEY_CLASSES_ROOT, kKey);
  ASSERT_TRUE(key);
  std::map<std::wstring, RegistryValue> expected = {
      {L"NoiseGate", {REG_DWORD, NumberBytes(50)}},
      {L"ThemeFilter", {REG_DWORD, NumberBytes(0)}},
      {L"SingleList", {REG_DWORD, NumberBytes(1)}},
      {L"FreqMax", {REG_DWORD, NumberBytes(0xFFFFFFFF)}},
      {L"Locale", {REG_SZ, FieldBytes(L"Fran\u00E7ais", 512)}},
      {L"Buttons", {REG_SZ, TextBytes(L"Tab\x0002VK_TAB\x0001")}},
      {L"Language1", {REG_SZ, FieldBytes(L"Deutsch", 512)}},
      {L"PanelFileName", {REG_SZ, FieldBytes(L"big.pan", 256)}},
      {L"Path", {REG_SZ, TextBytes(L"\\Program files\\Tessaline")}},  // as it was
  };
  EXPECT_EQ(key->values.size(), expected.size());
  for (const auto& [name, value] : expected) {
    const auto it = key->values.find(name);
    ASSERT_NE(it, key->values.end()) << "missing value";
    EXPECT_EQ(it->second.type, value.type);
    EXPECT_EQ(it->second.bytes, value.bytes) << "value bytes differ";
  }
}

TEST_F(SettingsStoreTest, AnotherProgramsChangesAreNeverWrittenBack) {
  WriteNumber(L"NoiseGate", 5);
  WriteNumber(L"UpdateCounter", 3);
  LoadSettings();
  // Another program (the options of another process) changes values and the counter.
  WriteNumber(L"NoiseGate", 9);
  WriteText(L"Language1", L"Deutsch");
  WriteNumber(L"UpdateCounter", 4);
  // This one settles on another layout and saves, as every slide and Deselect do.
  SetActiveLayout("qwerty");
  ASSERT_EQ(SaveSettings(), ERROR_SUCCESS);
  EXPECT_EQ(Stored(L"NoiseGate").bytes, NumberBytes(9));
  EXPECT_EQ(Stored(L"Language1").bytes, TextBytes(L"Deutsch"));
  EXPECT_EQ(Stored(L"UpdateCounter").bytes, NumberBytes(4));
  EXPECT_EQ(Stored(L"ActiveLayout").bytes, FieldBytes(L"qwerty", 512));
  // A second save with nothing changed writes nothing.
  WriteNumber(L"NoiseGate", 11);
  ASSERT_EQ(SaveSettings(), ERROR_SUCCESS);
  EXPECT_EQ(Stored(L"NoiseGate").bytes, NumberBytes(11));
  // OK on the options raises the counter the key holds, not this process's copy.
  RaiseCounterAndSave();
  EXPECT_EQ(Stored(L"UpdateCounter").bytes, NumberBytes(5));
  EXPECT_NE(GetSettings().UpdateCounter, 5u);
}

TEST_F(SettingsStoreTest, SaveAndLoadAgreeAndPanelNamesKeep127Characters) {
  LoadSettings();
  Settings& s = GetSettings();
  s.ShowHint = true;
  s.AdaptiveVoc = false;
  s.NoiseGate = 0;
  SetSettingsText(s.Language1, u"Deutsch");
  // A Buttons text of 9000 characters from the Buttons page is cut to 8191.
  SetSettingsText(s.Buttons, WideString(9000, u'b'));
  EXPECT_EQ(SettingsText(s.Buttons).size(), 8191u);
  ASSERT_EQ(SaveSettings(), ERROR_SUCCESS);
  EXPECT_EQ(Stored(L"Buttons").bytes.size(), 16384u);

  Settings saved = s;
  LoadSettings();
  EXPECT_TRUE(GetSettings() == saved);

  // Only the first 128 units of the panel file name are stored: a longer name comes back as its
  // first 128 characters and no longer names the file, so the fallback takes over.
  SetSettingsText(GetSettings().PanelFileName, WideString(127, u'p'));
  SaveSettings();
  LoadSettings();
  EXPECT_EQ(SettingsText(GetSettings().PanelFileName), u"compact.pan");  // no such file
  EXPECT_EQ(Stored(L"PanelFileName").bytes, FieldBytes(std::wstring(127, L'p'), 256));
  SetSettingsText(GetSettings().PanelFileName, WideString(200, u'p'));
  SaveSettings();
  EXPECT_EQ(Stored(L"PanelFileName").bytes, TextBytes(std::wstring(128, L'p'), false));
}

TEST_F(SettingsStoreTest, PanelFileFallbackIsNotSaved) {
  WriteText(L"PanelFileName", L"sections.pan");
  dir_.Write("Program files/Tessaline/Layouts/sections.pan", "[layout=main]\nx=1\n[end]\n");
  LoadSettings();
  EXPECT_EQ(SettingsText(GetSettings().PanelFileName), u"compact.pan");
  EXPECT_EQ(Stored(L"PanelFileName").bytes, TextBytes(L"sections.pan"));

  WriteText(L"PanelFileName", L"missing.pan");
  LoadSettings();
  EXPECT_EQ(SettingsText(GetSettings().PanelFileName), u"compact.pan");
  // Nor when the record is saved for another change.
  GetSettings().NoiseGate = 30;
  ASSERT_EQ(SaveSettings(), ERROR_SUCCESS);
  EXPECT_EQ(Stored(L"PanelFileName").bytes, TextBytes(L"missing.pan"));
  EXPECT_EQ(Stored(L"NoiseGate").bytes, NumberBytes(30));
}

TEST_F(SettingsStoreTest, EmptyPathIsReportedAtEveryRequest) {
  WriteText(L"Path", L"");
  testing::MessageRecorder messages;
  LoadSettings();  // the panel file path asks for the installation folder
  EXPECT_EQ(SettingsText(GetSettings().PanelFileName), u"compact.pan");
  EXPECT_EQ(InstallFolder().narrow, "");
  EXPECT_EQ(PanelFilePath().wide, u"\\Layouts\\compact.pan");
  ASSERT_EQ(messages.Calls().size(), 3u);
  for (const MessageCall& call : messages.Calls()) {
    EXPECT_EQ(call.text, u"Can't find registry PATH key");
    EXPECT_TRUE(call.hasCaption);
    EXPECT_TRUE(call.caption.empty());
  }
}

TEST_F(SettingsStoreTest, MissingClassKey) {
  snapshot_.Remove();
  testing::MessageRecorder messages;  // Path is empty without the key
  GetSettings().NoiseGate = 7;
  LoadSettings();
  Settings expected;
  ResetSettings(expected);
  SetSettingsText(expected.PanelFileName, u"compact.pan");
  EXPECT_TRUE(GetSettings() == expected);
  EXPECT_EQ(SaveSettings(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(ReadRegistryKey(HKEY_CLASSES_ROOT, kKey));  // saving never creates the key
}

TEST_F(SettingsStoreTest, CounterIsRaisedAroundTheSave) {
  WriteNumber(L"UpdateCounter", 41);
  LoadSettings();
  RaiseCounterAndSave();
  EXPECT_EQ(GetSettings().UpdateCounter, 43u);
  EXPECT_EQ(Stored(L"UpdateCounter").bytes, NumberBytes(42));
  // What the input method does when the panel is next shown: note, reload, compare.
  const uint32_t noted = GetSettings().UpdateCounter;
  LoadSettings();
  EXPECT_NE(GetSettings().UpdateCounter, noted);
}

}  // namespace
}  // namespace tessaline
