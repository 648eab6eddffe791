// The sheet's rules and its Languages and Interface pages on the real sheet: tabs, when pages are
// made and write, the case-insensitive choices that store the installed spelling, the seven
// switches, the panel file, and the start-up selector's launch slot.
#include <windows.h>
// The common control headers build on <windows.h>.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "SheetFixture.h"
#include "languages/InterfaceTexts.h"
#include "options/PropButtons.h"
#include "options/PropInterface.h"
#include "options/PropLanguage.h"
#include "settings/Settings.h"
#include "system/FileSearch.h"

namespace tessaline::testing {
namespace {

const std::wstring kKey = reinterpret_cast<const wchar_t*>(kClassKey);
constexpr const char16_t* kSelector = u"\\Program files\\Tessaline\\TSSelect.exe";

using Texts = std::vector<std::u16string>;

class SheetRulesTest : public SheetTest {};

TEST_F(SheetRulesTest, SixTabsInOrderEachPageMadeWhenFirstShown) {
  // The interface language lacks some texts: their tabs show "Text #n".
  WriteInstalled("Languages/Mini.chr", "text9=\"Langs\"\ntext16=Knoepfe\n");
  StoreText(L"Locale", u"Mini");
  RunSheet(
      [&](SheetDriver& sheet) {
        EXPECT_EQ(sheet.TabCaptions(), (Texts{u"Langs", u"Text #10", u"Knoepfe", u"Text #21",
                                              u"Text #41", u"Text #11"}));
        EXPECT_NE(PropSheet_IndexToHwnd(sheet.Sheet(), 0), nullptr);
        for (int tab = 1; tab < 6; ++tab)
          EXPECT_EQ(PropSheet_IndexToHwnd(sheet.Sheet(), tab), nullptr);
        sheet.SelectTab(kButtonsTab);
        EXPECT_NE(PropSheet_IndexToHwnd(sheet.Sheet(), kButtonsTab), nullptr);
        EXPECT_EQ(PropSheet_IndexToHwnd(sheet.Sheet(), kInterfaceTab), nullptr);
        const HWND apply = GetDlgItem(sheet.Sheet(), 0x3021);
        EXPECT_FALSE(apply && IsWindowVisible(apply));
      },
      false);
}

TEST_F(SheetRulesTest, CancelWritesNothingAndPagesNeverShownKeepTheirSettings) {
  StoreNumber(L"NoiseGate", 30);
  StoreNumber(L"TruncWords", 1);
  StoreSlot(73, u"\\Old\\TSSelect.exe");
  InstallLanguage("German", {}, "German");
  const auto classKey = ReadRegistryKey(HKEY_CLASSES_ROOT, kKey);
  const auto slots = ReadRegistryKey(HKEY_LOCAL_MACHINE, L"init");
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.PickListEntry(kPrimaryListId, 0);
        sheet.SelectTab(kInterfaceTab);
        sheet.Click(kNoiseGateBoxId);
        sheet.Click(kDefaultImBoxId);
        sheet.SelectTab(kButtonsTab);
        sheet.Click(kAddButtonId);
      },
      false);
  EXPECT_EQ(ReadRegistryKey(HKEY_CLASSES_ROOT, kKey), classKey);
  EXPECT_EQ(ReadRegistryKey(HKEY_LOCAL_MACHINE, L"init"), slots);

  // OK having shown only the Languages page: the Interface settings and the slot stay.
  RunSheet([](SheetDriver&) {}, true);
  EXPECT_EQ(StoredNumber(L"NoiseGate"), 30u);
  EXPECT_EQ(StoredNumber(L"TruncWords"), 1u);
  EXPECT_EQ(Slot(73), u"\\Old\\TSSelect.exe");
  EXPECT_EQ(SettingText(L"Buttons"), kDefaultButtons);
}

class LanguagesPageTest : public SheetTest {};

TEST_F(LanguagesPageTest, ChoicesIgnoreLetterCaseAndStoreTheInstalledSpelling) {
  InstallLanguage("GERMAN", {}, "German");
  InstallLanguage("Russian", {}, "Russian");
  StoreText(L"Language0", u"english");
  StoreText(L"Locale", u"German");
  Texts installed;
  RunSheet(
      [&](SheetDriver& sheet) {
        for (const WideString& name : ListInstalledLanguages()) installed.push_back(name);
        EXPECT_EQ(sheet.ListEntries(kPrimaryListId), installed);
        EXPECT_EQ(sheet.ListEntries(kSecondaryListId), installed);
        EXPECT_EQ(sheet.ComboEntries(kInterfaceComboId), installed);
        EXPECT_EQ(installed[sheet.ListSelection(kPrimaryListId)], u"English");
        EXPECT_EQ(sheet.ListSelection(kSecondaryListId), -1);  // Language1 is empty
        EXPECT_EQ(installed[sheet.ComboSelection(kInterfaceComboId)], u"GERMAN");
        EXPECT_EQ(sheet.Text(kPrimaryLabelId), InterfaceText(1));  // from the GERMAN file
      },
      true);
  EXPECT_EQ(SettingText(L"Language0"), u"English");
  EXPECT_EQ(SettingText(L"Language1"), u"");
  EXPECT_EQ(SettingText(L"Locale"), u"GERMAN");

  // The same language may be primary and secondary.
  RunSheet(
      [&](SheetDriver& sheet) {
        const auto english = std::find(installed.begin(), installed.end(), u"English");
        sheet.PickListEntry(kSecondaryListId, static_cast<int>(english - installed.begin()));
      },
      true);
  EXPECT_EQ(StoredText(L"Language1"), u"English");
}

TEST_F(LanguagesPageTest, NothingInstalledLeavesTheLanguagesAsTheyWere) {
  std::filesystem::remove_all(InstalledPath("Languages"));
  StoreText(L"Language0", u"Polish");
  StoreText(L"Language1", u"Czech");
  RunSheet(
      [&](SheetDriver& sheet) {
        EXPECT_TRUE(sheet.ListEntries(kPrimaryListId).empty());
        EXPECT_EQ(sheet.ComboSelection(kInterfaceComboId), -1);
      },
      true);
  EXPECT_EQ(SettingText(L"Language0"), u"Polish");
  EXPECT_EQ(SettingText(L"Language1"), u"Czech");
  EXPECT_EQ(SettingText(L"Locale"), u"English");
}

class InterfacePageTest : public SheetTest {
 protected:
  // The eight boxes' check states, top to bottom.
  std::vector<bool> States(SheetDriver& sheet) {
    std::vector<bool> states;
    for (int id = kTruncWordsBoxId; id <= kDefaultImBoxId; ++id)
      states.push_back(sheet.Checked(id));
    return states;
  }
};

TEST_F(InterfacePageTest, BoxesShowTheirSettingsAndNoiseGateStoresFifty) {
  StoreNumber(L"NoiseGate", 30);
  StoreNumber(L"TruncWords", 1);
  StoreNumber(L"AddSpace", 0);
  StoreNumber(L"ShowHint", 0);
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kInterfaceTab);
        EXPECT_EQ(States(sheet),
                  (std::vector<bool>{true, false, false, true, true, false, true, false}));
        EXPECT_EQ(sheet.Text(kAdaptiveVocBoxId), u"Adaptive vocabulary");
        EXPECT_EQ(sheet.Text(kNoiseGateBoxId), u"Reduce input noise");
        EXPECT_EQ(sheet.Text(kPanelLabelId), u"Panel");
        sheet.Click(kTruncWordsBoxId);
        sheet.Click(kShowHintBoxId);
        sheet.Click(kAdaptiveVocBoxId);
      },
      true);
  EXPECT_EQ(StoredNumber(L"NoiseGate"), 50u);
  EXPECT_EQ(StoredNumber(L"TruncWords"), 0u);
  EXPECT_EQ(StoredNumber(L"ShowHint"), 1u);
  EXPECT_EQ(StoredNumber(L"AdaptiveVoc"), 0u);
  EXPECT_EQ(StoredNumber(L"AddSpace"), 0u);
  EXPECT_EQ(SettingNumber(L"ThemeFilter"), 1u);

  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kInterfaceTab);
        sheet.Click(kNoiseGateBoxId);
      },
      true);
  EXPECT_EQ(StoredNumber(L"NoiseGate"), 0u);
}

TEST_F(InterfacePageTest, PanelFileMatchesIgnoringCase) {
  WriteInstalled("Layouts/Mine.pan", "default_sx=240\n");
  WriteInstalled("Layouts/notes.txt", "");
  StoreText(L"PanelFileName", u"mine.PAN");
  Texts files;
  for (const WideString& f : FindFiles(u"\\Program files\\Tessaline\\Layouts\\*.pan")) {
    files.push_back(f);
  }
  ASSERT_EQ(files.size(), 2u);
  const int mine = files[0] == u"Mine.pan" ? 0 : 1;
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kInterfaceTab);
        EXPECT_EQ(sheet.ComboEntries(kPanelComboId), files);
        EXPECT_EQ(sheet.ComboSelection(kPanelComboId), mine);
      },
      true);
  EXPECT_EQ(StoredText(L"PanelFileName"), u"Mine.pan");
}

TEST_F(InterfacePageTest, TheEntryIsReplacedInTheFirstFreeSlotOrRemoved) {
  // Slot texts are read whole: 700 characters without the name, or with it after 400.
  StoreSlot(71, std::u16string(700, u'c'));
  StoreSlot(72, u"\\Windows\\second.exe");
  StoreSlot(73, u"\\Old place\\TSSelect.exe");
  auto runWith = [&](bool clear) {
    RunSheet(
        [&](SheetDriver& sheet) {
          sheet.SelectTab(kInterfaceTab);
          EXPECT_TRUE(sheet.Checked(kDefaultImBoxId));
          if (clear) sheet.Click(kDefaultImBoxId);
        },
        true);
  };
  runWith(false);
  EXPECT_EQ(Slot(73), kSelector);
  EXPECT_EQ(Slot(71), std::u16string(700, u'c'));
  runWith(true);
  EXPECT_EQ(Slot(73), std::nullopt);
  EXPECT_EQ(Slot(72), u"\\Windows\\second.exe");

  // Two entries: clearing the box removes the first only, and the box shows checked again.
  StoreSlot(74, std::u16string(400, u'a') + u"\\TSSelect.exe");
  StoreSlot(76, u"\\x\\TSSelect.exe");
  runWith(true);
  EXPECT_EQ(Slot(74), std::nullopt);
  EXPECT_EQ(Slot(76), u"\\x\\TSSelect.exe");
  runWith(true);
  EXPECT_EQ(Slot(76), std::nullopt);
}

TEST_F(InterfacePageTest, AddingReadsPathAfreshAndNeedsAFreeSlotAndTheKey) {
  // A slot that exists counts as used whatever it holds.
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch71", REG_DWORD, NumberBytes(1));
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kInterfaceTab);
        EXPECT_FALSE(sheet.Checked(kDefaultImBoxId));
        sheet.Click(kDefaultImBoxId);
        StoreText(L"Path", u"\\Moved");  // after the settings were loaded
      },
      true);
  EXPECT_EQ(Slot(72), u"\\Moved\\TSSelect.exe");

  auto checkTheBox = [](SheetDriver& sheet) {
    sheet.SelectTab(kInterfaceTab);
    sheet.Click(kDefaultImBoxId);
  };

  for (int slot = 71; slot <= 78; ++slot) StoreSlot(slot, u"\\Windows\\busy.exe");
  const auto full = ReadRegistryKey(HKEY_LOCAL_MACHINE, L"init");
  RunSheet(checkTheBox, true);
  EXPECT_EQ(ReadRegistryKey(HKEY_LOCAL_MACHINE, L"init"), full);

  DeleteRegistryKey(HKEY_LOCAL_MACHINE, L"init");
  RunSheet(checkTheBox, true);
  EXPECT_EQ(ReadRegistryKey(HKEY_LOCAL_MACHINE, L"init"), std::nullopt);
}

}  // namespace
}  // namespace tessaline::testing
