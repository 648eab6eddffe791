// The Frequency page on the real sheet: the learned words most used first, Clear and Save on the
// page's copy, and the two sliders that become FreqMax and FreqInc at OK.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "SheetFixture.h"
#include "engine/UserDictionary.h"
#include "system/Messages.h"
#include "options/PropFreq.h"

namespace tessaline::testing {
namespace {

using Texts = std::vector<std::u16string>;

class FrequencyPageTest : public SheetTest {
 protected:
  FrequencyPageTest() {
    InstallLanguage("German", {}, "German");
    WriteUserDictionary("English", {u"blog"}, {{u"the", 9}, {u"and", 5}, {u"cat", 5}, {u"dog", 1}},
                        77);
  }
};

TEST_F(FrequencyPageTest, MostUsedFirstAndTheDefaultsComeBackUnchanged) {
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kFrequencyTab);
        EXPECT_EQ(sheet.ComboEntries(kFreqLanguageComboId), (Texts{u"English", u"German"}));
        EXPECT_EQ(sheet.ListEntries(kFrequencyListId),
                  (Texts{u"the (9)", u"and (5)", u"cat (5)", u"dog (1)"}));
        EXPECT_EQ(sheet.Text(kRestoreNumberId), u"20");
        EXPECT_EQ(sheet.Text(kSpeedNumberId), u"2");
        EXPECT_EQ(sheet.Text(kRestoreLabelId), u"Restore days");
        EXPECT_TRUE(sheet.Enabled(kClearRecordsButtonId));
        EXPECT_FALSE(sheet.Enabled(kSaveRecordsButtonId));
      },
      true);
  EXPECT_EQ(SettingNumber(L"FreqMax"), 20u);
  EXPECT_EQ(SettingNumber(L"FreqInc"), 4u);
}

struct SliderCase {
  DWORD freqMax, freqInc;
  int moveRestore, moveSpeed;  // 0: left alone
  std::u16string shownRestore, shownSpeed;
  DWORD storedMax, storedInc;
};

class FrequencySlidersTest : public SheetTest, public ::testing::WithParamInterface<SliderCase> {};

TEST_P(FrequencySlidersTest, ShowAndStore) {
  const SliderCase& c = GetParam();
  StoreNumber(L"FreqMax", c.freqMax);
  StoreNumber(L"FreqInc", c.freqInc);
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kFrequencyTab);
        EXPECT_EQ(sheet.Text(kRestoreNumberId), c.shownRestore);
        EXPECT_EQ(sheet.Text(kSpeedNumberId), c.shownSpeed);
        if (c.moveRestore) sheet.MoveSlider(kRestoreSliderId, c.moveRestore);
        if (c.moveSpeed) sheet.MoveSlider(kSpeedSliderId, c.moveSpeed);
      },
      true);
  EXPECT_EQ(StoredNumber(L"FreqMax"), c.storedMax);
  EXPECT_EQ(StoredNumber(L"FreqInc"), c.storedInc);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, FrequencySlidersTest,
    ::testing::Values(SliderCase{40, 4, 0, 0, u"31", u"1", 31, 3},     // 40 is beyond the range
                      SliderCase{20, 50, 0, 0, u"20", u"10", 20, 20},  // FreqInc above FreqMax
                      SliderCase{20, 4, 31, 10, u"20", u"2", 31, 31},  // 31 × 10 × 0.1
                      SliderCase{20, 4, 7, 1, u"20", u"2", 7, 1},      // 0.7 + 0.5 rounds to 1
                      SliderCase{0, 4, 0, 0, u"7", u"10", 7, 7},       // FreqMax 0: fastest
                      SliderCase{0xFFFFFFFF, 4, 0, 0, u"7", u"10", 7, 7},
                      SliderCase{20, 0xFFFFFF9C, 0, 0, u"20", u"1", 20, 2},  // FreqInc -100
                      SliderCase{1, 0x7FFFFFFF, 0, 0, u"7", u"10", 7, 7},
                      SliderCase{0x7FFFFFFF, 1, 0, 0, u"31", u"1", 31, 3}));

TEST_F(FrequencyPageTest, SlidersMovedAndCancelledChangeNothing) {
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kFrequencyTab);
        sheet.MoveSlider(kRestoreSliderId, 9);
        EXPECT_EQ(sheet.Text(kRestoreNumberId), u"9");
      },
      false);
  EXPECT_EQ(StoredNumber(L"FreqMax"), std::nullopt);
}

TEST_F(FrequencyPageTest, ClearAndSaveWorkOnTheRecordsOnly) {
  const std::string before = ReadInstalled("Languages/English.usr");
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kFrequencyTab);
        messages_.SetAnswer(kAnswerCancel);
        sheet.Click(kClearRecordsButtonId);
        EXPECT_EQ(sheet.ListEntries(kFrequencyListId).size(), 4u);
        messages_.SetAnswer(kAnswerOk);
        sheet.Click(kClearRecordsButtonId);
        EXPECT_TRUE(sheet.ListEntries(kFrequencyListId).empty());
        EXPECT_FALSE(sheet.Enabled(kClearRecordsButtonId));
        EXPECT_TRUE(sheet.Enabled(kSaveRecordsButtonId));
        // Another language and back: nothing was saved, so the words are back.
        sheet.PickComboEntry(kFreqLanguageComboId, 1);
        sheet.PickComboEntry(kFreqLanguageComboId, 0);
        EXPECT_EQ(sheet.ListEntries(kFrequencyListId).size(), 4u);
        EXPECT_FALSE(sheet.Enabled(kSaveRecordsButtonId));
        EXPECT_EQ(ReadInstalled("Languages/English.usr"), before);
        sheet.Click(kClearRecordsButtonId);
        sheet.Click(kSaveRecordsButtonId);
        EXPECT_FALSE(sheet.Enabled(kSaveRecordsButtonId));
      },
      false);
  UserDictionary saved;
  saved.LoadBytes(ReadInstalled("Languages/English.usr"));
  EXPECT_TRUE(saved.Adaptations().empty());
  EXPECT_EQ(saved.Words(), std::vector<WideString>{u"blog"});
  EXPECT_EQ(saved.DecayDay(), 77u);
}

TEST_F(FrequencyPageTest, AFailedSaveIsShownAndSaveTurnsOffAnyway) {
  const std::string before = ReadInstalled("Languages/English.usr");
  SetUserDictionaryWriteLimit(5);
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kFrequencyTab);
        sheet.Click(kClearRecordsButtonId);
        sheet.Click(kSaveRecordsButtonId);
        EXPECT_FALSE(sheet.Enabled(kSaveRecordsButtonId));
      },
      false);
  EXPECT_EQ(ReadInstalled("Languages/English.usr"), before);
  ASSERT_EQ(messages_.Calls().size(), 3u);
  EXPECT_EQ(messages_.Calls()[2].caption, u"Could not write the file");
  EXPECT_EQ(messages_.Calls()[2].style, 0x30u);
}

TEST_F(FrequencyPageTest, SaveWritesOnlyTheLanguageItAskedAbout) {
  WriteUserDictionary("German", {}, {{u"und", 3}}, 5);
  const std::string english = ReadInstalled("Languages/English.usr");
  const std::string german = ReadInstalled("Languages/German.usr");
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kFrequencyTab);  // English
        sheet.Click(kClearRecordsButtonId);
        // The drop-down moves to German while the question of Save is up.
        const MessageHandler recorder = SetMessageHandler([&](const MessageCall& call) {
          EXPECT_EQ(call.owner, sheet.Sheet());
          sheet.PickComboEntry(kFreqLanguageComboId, 1);
          return static_cast<int>(kAnswerOk);
        });
        sheet.Click(kSaveRecordsButtonId);
        SetMessageHandler(recorder);
        EXPECT_EQ(sheet.ListEntries(kFrequencyListId), Texts{u"und (3)"});
      },
      false);
  // Neither file received the other's records.
  EXPECT_EQ(ReadInstalled("Languages/English.usr"), english);
  EXPECT_EQ(ReadInstalled("Languages/German.usr"), german);
}

TEST_F(FrequencyPageTest, NoLanguageInstalled) {
  std::filesystem::remove_all(InstalledPath("Languages"));
  RunSheet(
      [&](SheetDriver& sheet) {
        sheet.SelectTab(kFrequencyTab);
        EXPECT_TRUE(sheet.ComboEntries(kFreqLanguageComboId).empty());
        EXPECT_FALSE(sheet.Enabled(kClearRecordsButtonId));
        EXPECT_FALSE(sheet.Enabled(kSaveRecordsButtonId));
      },
      false);
}

}  // namespace
}  // namespace tessaline::testing
