// The Buttons page's rows (parsing the Buttons setting and writing it back) and the key
// combination of its redefine mode.
#include <gtest/gtest.h>

#include "options/KeyChord.h"
#include "options/UserButtons.h"
#include "runtime/KeyScript.h"
#include "settings/Settings.h"

namespace tessaline {
namespace {

size_t Row(WideView scriptName) {
  const auto table = KeyNameTable();
  for (size_t i = 0; i < table.size(); ++i) {
    if (scriptName == table[i].scriptName) return i;
  }
  ADD_FAILURE() << "no row";
  return 0;
}

TEST(UserButtonsTest, TheDefaultTextGivesFourRowsAndComesBackUnchanged) {
  const auto rows = ParseUserButtons(kDefaultButtons);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (UserButton{u"Pg Up", u"VK_PRIOR"}));
  EXPECT_EQ(rows[2], (UserButton{u"Ctrl+Home", u"VK_CONTROLd+VK_HOME+VK_CONTROLu"}));
  EXPECT_EQ(rows[3].caption, u"Ctrl+End");
  EXPECT_EQ(UserButtonsText(rows, kSettingsButtonsUnits - 1), WideString(kDefaultButtons));
}

TEST(UserButtonsTest, OddlyFormedEntries) {
  // No U+0002: the whole entry is caption and sequence; the last entry needs no U+0001; only the
  // first U+0002 splits; an empty entry is an empty row.
  const auto rows = ParseUserButtons(
      u"VK_HOME\x01\x01"
      u"a\x02"
      u"b\x02"
      u"c\x01tail\x02VK_END");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (UserButton{u"VK_HOME", u"VK_HOME"}));
  EXPECT_EQ(rows[1], (UserButton{u"", u""}));
  EXPECT_EQ(rows[2], (UserButton{u"a",
                                 u"b\x02"
                                 u"c"}));
  EXPECT_EQ(rows[3], (UserButton{u"tail", u"VK_END"}));
  EXPECT_TRUE(ParseUserButtons(u"").empty());
}

TEST(UserButtonsTest, AFullTextOfTinyEntriesIsReadWholeAndWrittenBackCut) {
  // The largest number of rows the setting can hold: every unit ends an entry.
  const WideString text(kSettingsButtonsUnits - 1, u'\x01');
  const auto rows = ParseUserButtons(text);
  EXPECT_EQ(rows.size(), kSettingsButtonsUnits - 1);
  // Each row comes back as U+0002 U+0001, twice the length: the text is cut to 8191 units.
  const WideString back = UserButtonsText(rows, kSettingsButtonsUnits - 1);
  ASSERT_EQ(back.size(), kSettingsButtonsUnits - 1);
  EXPECT_EQ(back.substr(0, 4), WideString(u"\x02\x01\x02\x01"));
}

TEST(KeyChordTest, ModifiersKeepTheLastThreeDifferentOnesMostRecentLast) {
  KeyChord chord;
  for (auto name : {u"VK_CONTROL", u"VK_SHIFT", u"VK_MENU", u"VK_CONTROL"}) chord.AddKey(Row(name));
  EXPECT_EQ(chord.DisplayText(), u"Shift+Alt+Ctrl+");
  EXPECT_EQ(chord.Sequence(), u"VK_SHIFTd+VK_MENUd+VK_CONTROLd+VK_CONTROLu+VK_MENUu+VK_SHIFTu");

  // Choosing the most recent modifier again changes nothing; an older one moves to the end.
  chord.Clear();
  for (auto name : {u"VK_CONTROL", u"VK_SHIFT", u"VK_CONTROL", u"VK_CONTROL"}) {
    chord.AddKey(Row(name));
  }
  EXPECT_EQ(chord.DisplayText(), u"Shift+Ctrl+");
}

TEST(KeyChordTest, MainKeyBetweenPressesAndReleases) {
  KeyChord chord;
  chord.AddKey(Row(u"VK_PRIOR"));
  EXPECT_EQ(chord.DisplayText(), u"Pg Up");
  EXPECT_EQ(chord.Sequence(), u"VK_PRIOR");

  chord.Clear();
  chord.AddKey(Row(u"VK_CONTROL"));
  chord.AddKey(Row(u"VK_HOME"));
  EXPECT_EQ(chord.DisplayText(), u"Ctrl+Home");
  EXPECT_EQ(chord.Sequence(), u"VK_CONTROLd+VK_HOME+VK_CONTROLu");

  // A second main key replaces the first; the modifiers stay.
  chord.AddKey(Row(u"VK_SHIFT"));
  chord.AddKey(Row(u"VK_END"));
  EXPECT_EQ(chord.DisplayText(), u"Ctrl+Shift+End");
  EXPECT_EQ(chord.Sequence(), u"VK_CONTROLd+VK_SHIFTd+VK_END+VK_SHIFTu+VK_CONTROLu");
  // The composed sequence is a key script the sender plays as Ctrl, Shift, End, Shift, Ctrl.
  const auto events = ReadCompiledKeyScript(CompileKeyScript(chord.Sequence()));
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[2].code, 0x23);
  EXPECT_EQ(events[2].action, kPressAndRelease);
  EXPECT_EQ(events[4].code, 0x11);
  EXPECT_EQ(events[4].action, kReleaseOnly);

  chord.Clear();
  chord.AddKey(kKeyNameCount);  // no such row
  EXPECT_EQ(chord.DisplayText(), u"");
  EXPECT_EQ(chord.Sequence(), u"");
}

}  // namespace
}  // namespace tessaline
