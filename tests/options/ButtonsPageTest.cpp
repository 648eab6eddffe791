// The Buttons page on the real sheet: the rows read from the Buttons setting and written back,
// which controls are enabled and shown, Add, Remove, and the redefine mode's key combination.
#include <gtest/gtest.h>
#include <windows.h>

#include "SheetFixture.h"
#include "keyscript/KeyScript.h"
#include "options/PropButtons.h"
#include "settings/Settings.h"

namespace tessaline::testing {
namespace {

using Texts = std::vector<std::u16string>;

constexpr int kRedefineControls[] = {kKeyListId,           kAddKeyButtonId,
                                     kChordFieldId,        kClearChordButtonId,
                                     kAcceptChordButtonId, kCancelChordButtonId};

class ButtonsPageTest : public SheetTest {
 protected:
  // The row of a key in the key list.
  static int KeyRow(const char16_t* scriptName) {
    const auto table = KeyNameTable();
    for (size_t i = 0; i < table.size(); ++i) {
      if (std::u16string_view(table[i].scriptName) == scriptName) return static_cast<int>(i);
    }
    return -1;
  }
  static void AddKey(SheetDriver& sheet, const char16_t* scriptName) {
    sheet.PickListEntry(kKeyListId, KeyRow(scriptName));
    sheet.Click(kAddKeyButtonId);
  }
  // Add, Remove, Redefine enabled; Redefine and the redefine controls shown; list enabled.
  static std::vector<bool> State(SheetDriver& sheet) {
    std::vector<bool> state = {sheet.Enabled(kAddButtonId), sheet.Enabled(kRemoveButtonId),
                               sheet.Enabled(kRedefineButtonId), sheet.Enabled(kButtonListId),
                               sheet.Visible(kRedefineButtonId)};
    for (int id : kRedefineControls) state.push_back(sheet.Visible(id));
    return state;
  }
  static std::vector<bool> Browsing(bool add, bool selected) {
    return {add, selected, selected, true, true, false, false, false, false, false, false};
  }
};

TEST_F(ButtonsPageTest, TheDefaultRowsComeBackUnchangedAndControlsFollowTheSelection) {
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kButtonsTab);
        EXPECT_EQ(sheet.ListEntries(kButtonListId),
                  (Texts{u"Pg Up", u"Pg Dn", u"Ctrl+Home", u"Ctrl+End"}));
        EXPECT_EQ(sheet.Text(kRedefineButtonId), u"Redefine");
        EXPECT_EQ(State(sheet), Browsing(true, false));
        sheet.PickListEntry(kButtonListId, 1);
        EXPECT_EQ(State(sheet), Browsing(true, true));
        EXPECT_EQ(sheet.ListEntries(kKeyListId).size(), kKeyNameCount);
        EXPECT_EQ(sheet.ListEntries(kKeyListId)[12], u"Pg Up");
      },
      true);
  EXPECT_EQ(SettingText(L"Buttons"), kDefaultButtons);
}

TEST_F(ButtonsPageTest, RecordsWithoutSeparatorOrFinalEndAreReadWhole) {
  StoreText(L"Buttons", u"VK_HOME\x01Up\x02VK_PRIOR");
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kButtonsTab);
        EXPECT_EQ(sheet.ListEntries(kButtonListId), (Texts{u"VK_HOME", u"Up"}));
      },
      true);
  EXPECT_EQ(StoredText(L"Buttons"), u"VK_HOME\x02VK_HOME\x01Up\x02VK_PRIOR\x01");
}

TEST_F(ButtonsPageTest, RedefineComposesTheLastThreeModifiersAndOneMainKey) {
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kButtonsTab);
        sheet.PickListEntry(kButtonListId, 0);
        sheet.Click(kRedefineButtonId);
        EXPECT_EQ(State(sheet), (std::vector<bool>{false, false, true, false, false, true, true,
                                                   true, true, true, true}));
        EXPECT_EQ(sheet.ListSelection(kButtonListId), 0);
        for (auto key : {u"VK_CONTROL", u"VK_SHIFT", u"VK_MENU", u"VK_CONTROL"}) AddKey(sheet, key);
        EXPECT_EQ(sheet.Text(kChordFieldId), u"Shift+Alt+Ctrl+");
        AddKey(sheet, u"VK_HOME");
        AddKey(sheet, u"VK_END");  // a second main key replaces the first
        EXPECT_EQ(sheet.Text(kChordFieldId), u"Shift+Alt+Ctrl+End");
        sheet.Click(kAcceptChordButtonId);
        EXPECT_EQ(sheet.ListEntries(kButtonListId)[0], u"Shift+Alt+Ctrl+End");
        EXPECT_EQ(sheet.ListSelection(kButtonListId), -1);
        EXPECT_EQ(State(sheet), Browsing(true, false));

        // Cancel leaves the row; the next Redefine starts empty; ">>" without a key does nothing.
        sheet.PickListEntry(kButtonListId, 1);
        sheet.Click(kRedefineButtonId);
        AddKey(sheet, u"VK_CONTROL");
        sheet.Click(kCancelChordButtonId);
        EXPECT_EQ(State(sheet), Browsing(true, true));
        sheet.Click(kRedefineButtonId);
        EXPECT_EQ(sheet.Text(kChordFieldId), u"");
        sheet.PickListEntry(kKeyListId, -1);
        sheet.Click(kAddKeyButtonId);
        EXPECT_EQ(sheet.Text(kChordFieldId), u"");
        AddKey(sheet, u"VK_A");
        sheet.Click(kClearChordButtonId);
        sheet.Click(kAcceptChordButtonId);  // an empty combination
        EXPECT_EQ(sheet.ListEntries(kButtonListId)[1], u"<?>");
      },
      true);
  EXPECT_EQ(StoredText(L"Buttons"),
            u"Shift+Alt+Ctrl+End\x02VK_SHIFTd+VK_MENUd+VK_CONTROLd+VK_END+VK_CONTROLu+VK_MENUu+"
            u"VK_SHIFTu\x01<?>\x02\x01"
            u"Ctrl+Home\x02VK_CONTROLd+VK_HOME+VK_CONTROLu\x01"
            u"Ctrl+End\x02VK_CONTROLd+VK_END+VK_CONTROLu\x01");
}

TEST_F(ButtonsPageTest, AddStopsAtEightAndRemoveSelectsTheNextRow) {
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kButtonsTab);
        for (int i = 0; i < 5; ++i) sheet.Click(kAddButtonId);
        EXPECT_EQ(sheet.ListEntries(kButtonListId).size(), 8u);
        EXPECT_EQ(sheet.ListEntries(kButtonListId)[7], u"<?>");
        EXPECT_FALSE(sheet.Enabled(kAddButtonId));
        sheet.PickListEntry(kButtonListId, 1);
        sheet.Click(kRemoveButtonId);
        EXPECT_EQ(sheet.ListSelection(kButtonListId), 1);
        EXPECT_EQ(sheet.ListEntries(kButtonListId)[1], u"Ctrl+Home");
        EXPECT_EQ(State(sheet), Browsing(true, true));
        sheet.PickListEntry(kButtonListId, 6);
        sheet.Click(kRemoveButtonId);  // the last row
        EXPECT_EQ(sheet.ListSelection(kButtonListId), -1);
        EXPECT_EQ(State(sheet), Browsing(true, false));
      },
      true);
  EXPECT_EQ(StoredText(L"Buttons"),
            u"Pg Up\x02VK_PRIOR\x01"
            u"Ctrl+Home\x02VK_CONTROLd+VK_HOME+VK_CONTROLu\x01"
            u"Ctrl+End\x02VK_CONTROLd+VK_END+VK_CONTROLu\x01<?>\x02\x01<?>\x02\x01<?>\x02\x01");
}

TEST_F(ButtonsPageTest, AFullTextOfRowsIsShownWholeAndWrittenBackWithinTheSetting) {
  // 8191 entries, each an empty row: every one is shown, Add stays off, and the text written
  // back (two units a row) is cut to the setting's 8191 units.
  StoreText(L"Buttons", std::u16string(8191, u'\x01'));
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kButtonsTab);
        EXPECT_EQ(sheet.ListCount(kButtonListId), 8191);
        EXPECT_FALSE(sheet.Enabled(kAddButtonId));
        sheet.PickListEntry(kButtonListId, 8190);
        sheet.Click(kRemoveButtonId);
        EXPECT_EQ(sheet.ListCount(kButtonListId), 8190);
      },
      true);
  std::u16string expected;
  while (expected.size() < 8191) expected += u"\x02\x01";
  expected.resize(8191);
  EXPECT_EQ(StoredText(L"Buttons"), expected);
}

}  // namespace
}  // namespace tessaline::testing
