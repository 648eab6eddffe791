// The Dictionary page on the real sheet: the page's copy of a user dictionary, Remove, Clear and
// Save with their questions, and Export and Import through the documents folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "SheetFixture.h"
#include "engine/UserDictionary.h"
#include "engine/UserDictionaryFile.h"
#include "options/DocumentsFolder.h"
#include "options/PropFreq.h"
#include "options/PropVoc.h"
#include "settings/Settings.h"
#include "system/Messages.h"

namespace tessaline::testing {
namespace {

using Texts = std::vector<std::u16string>;

class DictionaryPageTest : public SheetTest {
 protected:
  DictionaryPageTest() {
    // Languages sort as Eng, English, Russian; "Eng" and "English" share Tessaline_Eng.txt.
    InstallLanguage("Eng", {"and", "cat", "the"}, "English");
    InstallLanguage("Russian", {}, "Russian");
    WriteUserDictionary("Eng", {u"zeta", u"Alpha", u"beta"}, {{u"the", 7}}, 42);
  }

  UserDictionary Usr(const std::string& language) const {
    UserDictionary user;
    user.LoadBytes(ReadInstalled("Languages/" + language + ".usr"));
    return user;
  }

  // The messages shown so far as "caption|text|style", the path of the exchange file shortened.
  Texts Shown() const {
    Texts shown;
    for (const MessageCall& call : messages_.Calls()) {
      std::u16string text = call.text;
      const size_t slash = text.rfind(u'\\');
      if (slash != std::u16string::npos && text.find(u".txt") != std::u16string::npos) {
        text = text.substr(slash + 1);
      }
      const std::string style = std::to_string(call.style);
      shown.push_back(call.caption + u"|" + text + u"|" +
                      std::u16string(style.begin(), style.end()));
    }
    return shown;
  }

  void ShowDictionary(SheetDriver& sheet, int language) {
    sheet.SelectTab(kDictionaryTab);
    if (language != 0) sheet.PickComboEntry(kVocLanguageComboId, language);
  }
};

TEST_F(DictionaryPageTest, TheFirstLanguageItsWordsSortedAndTheButtonsThatApply) {
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        EXPECT_EQ(sheet.ComboEntries(kVocLanguageComboId), (Texts{u"Eng", u"English", u"Russian"}));
        EXPECT_EQ(sheet.ComboSelection(kVocLanguageComboId), 0);
        EXPECT_EQ(sheet.ListEntries(kWordListId), (Texts{u"Alpha", u"beta", u"zeta"}));
        EXPECT_EQ(sheet.Text(kExportButtonId), u"Export");
        EXPECT_FALSE(sheet.Enabled(kRemoveWordButtonId));
        EXPECT_FALSE(sheet.Enabled(kSaveWordsButtonId));
        EXPECT_TRUE(sheet.Enabled(kClearWordsButtonId));
        sheet.PickListEntry(kWordListId, 1);
        EXPECT_TRUE(sheet.Enabled(kRemoveWordButtonId));
        sheet.PickComboEntry(kVocLanguageComboId, 1);  // English has no .usr yet
        EXPECT_TRUE(sheet.ListEntries(kWordListId).empty());
        EXPECT_FALSE(sheet.Enabled(kClearWordsButtonId));
      },
      false);
}

TEST_F(DictionaryPageTest, RemoveClearAndSaveAskFirstAndSaveKeepsTheRecords) {
  const std::string before = ReadInstalled("Languages/Eng.usr");
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        sheet.PickListEntry(kWordListId, 0);
        messages_.SetAnswer(kAnswerCancel);
        sheet.Click(kRemoveWordButtonId);
        EXPECT_EQ(sheet.ListEntries(kWordListId).size(), 3u);
        EXPECT_FALSE(sheet.Enabled(kSaveWordsButtonId));
        messages_.SetAnswer(kAnswerOk);
        sheet.Click(kRemoveWordButtonId);
        EXPECT_EQ(sheet.ListEntries(kWordListId), (Texts{u"beta", u"zeta"}));
        EXPECT_TRUE(sheet.Enabled(kSaveWordsButtonId));
        EXPECT_EQ(ReadInstalled("Languages/Eng.usr"), before);  // nothing written yet
        messages_.SetAnswer(kAnswerCancel);
        sheet.Click(kSaveWordsButtonId);
        EXPECT_EQ(ReadInstalled("Languages/Eng.usr"), before);
        messages_.SetAnswer(kAnswerOk);
        sheet.Click(kSaveWordsButtonId);
        EXPECT_FALSE(sheet.Enabled(kSaveWordsButtonId));
        sheet.Click(kClearWordsButtonId);
        EXPECT_TRUE(sheet.ListEntries(kWordListId).empty());
        EXPECT_TRUE(sheet.Enabled(kSaveWordsButtonId));
      },
      false);
  const UserDictionary saved = Usr("Eng");
  EXPECT_EQ(saved.Words(), (std::vector<WideString>{u"beta", u"zeta"}));
  EXPECT_EQ(saved.Adaptations().at(u"the").count, 7);
  EXPECT_EQ(saved.DecayDay(), 42u);
  EXPECT_EQ(Shown(), (Texts{u"|Remove the selected word?|33", u"|Remove the selected word?|33",
                            u"|Save the changes?|1", u"|Save the changes?|1",
                            u"|Remove all entries from the list?|33"}));
}

TEST_F(DictionaryPageTest, AFailedSaveLeavesTheFileAndSaveEnabled) {
  const std::string before = ReadInstalled("Languages/Eng.usr");
  SetUserDictionaryWriteLimit(5);  // as a full disk would
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        sheet.Click(kClearWordsButtonId);
        sheet.Click(kSaveWordsButtonId);
        EXPECT_TRUE(sheet.Enabled(kSaveWordsButtonId));
      },
      false);
  EXPECT_EQ(ReadInstalled("Languages/Eng.usr"), before);
  EXPECT_FALSE(Installed("Languages/Eng.usr.tmp"));
  ASSERT_EQ(messages_.Calls().size(), 3u);
  EXPECT_EQ(messages_.Calls()[2].text, u"\\Program files\\Tessaline\\Languages\\Eng.usr");
  EXPECT_EQ(messages_.Calls()[2].caption, u"Could not write the file");
  EXPECT_EQ(messages_.Calls()[2].style, static_cast<unsigned>(kMessageIconWarning));
  // The page's edits are not dropped: the next write of the file (the input method's next
  // commit, say) lands them.
  SetUserDictionaryWriteLimit(SIZE_MAX);
  CommitAllPendingUserEdits();
  EXPECT_TRUE(Usr("Eng").Words().empty());
  EXPECT_EQ(Usr("Eng").Adaptations().size(), 1u);
}

TEST_F(DictionaryPageTest, SaveKeepsWhatAnotherWriterAddedAndTheQuestionsAreTheSheets) {
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        // The input method, here or in another program, spells a word and learns one after the
        // page read the file.
        UserDictionaryFile other("\\Program files\\Tessaline\\Languages\\Eng.usr");
        UserDictionaryEdits edits;
        edits.AddWord(u"gamma");
        edits.Learn(u"and", 0, 10, 4, 20);
        ASSERT_EQ(other.Commit(edits).status, UserFileStatus::kSaved);
        sheet.Click(kClearWordsButtonId);
        sheet.Click(kSaveWordsButtonId);
        ASSERT_EQ(messages_.Calls().size(), 2u);
        for (const MessageCall& call : messages_.Calls()) EXPECT_EQ(call.owner, sheet.Sheet());
      },
      false);
  const UserDictionary saved = Usr("Eng");
  EXPECT_EQ(saved.Words(), std::vector<WideString>{u"gamma"});
  EXPECT_EQ(saved.Adaptations().size(), 2u);
  EXPECT_EQ(saved.DecayDay(), 42u);
}

TEST_F(DictionaryPageTest, RemoveTakesOnlyTheWordItAskedAbout) {
  WriteUserDictionary("Russian", {u"\x0434\x0430", u"\x043D\x0435\x0442"}, {});
  const std::string russian = ReadInstalled("Languages/Russian.usr");
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        sheet.PickListEntry(kWordListId, 0);  // "Alpha"
        // Something changes the language under the question before it is answered.
        const MessageHandler recorder = SetMessageHandler([&](const MessageCall&) {
          sheet.PickComboEntry(kVocLanguageComboId, 2);
          return static_cast<int>(kAnswerOk);
        });
        sheet.Click(kRemoveWordButtonId);
        SetMessageHandler(recorder);
        EXPECT_EQ(sheet.ListEntries(kWordListId),
                  (Texts{u"\x0434\x0430", u"\x043D\x0435\x0442"}));
        EXPECT_FALSE(sheet.Enabled(kSaveWordsButtonId));
        sheet.Click(kSaveWordsButtonId);  // disabled: nothing happens
      },
      false);
  EXPECT_EQ(ReadInstalled("Languages/Russian.usr"), russian);
  EXPECT_EQ(Usr("Eng").Words(), (std::vector<WideString>{u"zeta", u"Alpha", u"beta"}));
}

TEST_F(DictionaryPageTest, ExportWritesTheListAndLanguagesSharingThreeLettersShareTheFile) {
  WriteUserDictionary("Russian", {u"\x043F\x0440\x0438\x0432\x0435\x0442", u"\x0451\x0436"}, {});
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        sheet.Click(kExportButtonId);
        EXPECT_EQ(ReadBytes(DocumentsFile("Tessaline_Eng.txt")), "Alpha\r\nbeta\r\nzeta\r\n");
        sheet.PickComboEntry(kVocLanguageComboId, 1);  // English: an empty list, the same file
        sheet.Click(kExportButtonId);
        EXPECT_EQ(ReadBytes(DocumentsFile("Tessaline_Eng.txt")), "");
        // Cyrillic on a Windows-1252 machine: the file holds UTF-8, and Import brings it back.
        sheet.PickComboEntry(kVocLanguageComboId, 2);
        sheet.Click(kExportButtonId);
        sheet.Click(kClearWordsButtonId);
        sheet.Click(kImportButtonId);
        EXPECT_EQ(sheet.ListEntries(kWordListId),
                  (Texts{u"\x0451\x0436", u"\x043F\x0440\x0438\x0432\x0435\x0442"}));
      },
      false);
  EXPECT_EQ(ReadBytes(DocumentsFile("Tessaline_Rus.txt")),
            "\xD1\x91\xD0\xB6\r\n\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\n");
  EXPECT_EQ(Shown(),
            (Texts{u"Export complete|Tessaline_Eng.txt|0", u"Export complete|Tessaline_Eng.txt|0",
                   u"Export complete|Tessaline_Rus.txt|0", u"|Remove all entries from the list?|33",
                   u"Import complete|Tessaline_Rus.txt|0"}));
  // The page's Export and Import never touch the user dictionary.
  EXPECT_FALSE(Installed("Languages/English.usr"));
}

TEST_F(DictionaryPageTest, ImportJoinsLowersAndDropsWhatTheLanguageCannotTake) {
  // Written by another program in Windows-1252: "naïve" has a letter English lacks.
  WriteDocument("Tessaline_Eng.txt",
                "Hello\r\nwor ld\r\nZETA\r\nthe\r\nhello\r\nna\xEFve\r\n\r\n \tend\r\nbeta");
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        sheet.Click(kImportButtonId);
        // "Alpha" cannot be spelled in lower-case letters only, so it drops out too.
        EXPECT_EQ(sheet.ListEntries(kWordListId),
                  (Texts{u"beta", u"end", u"hello", u"world", u"zeta"}));
        EXPECT_TRUE(sheet.Enabled(kSaveWordsButtonId));
        // Another language and back: the imported words are gone, nothing was saved.
        sheet.PickComboEntry(kVocLanguageComboId, 2);
        sheet.PickComboEntry(kVocLanguageComboId, 0);
        EXPECT_EQ(sheet.ListEntries(kWordListId), (Texts{u"Alpha", u"beta", u"zeta"}));
        EXPECT_FALSE(sheet.Enabled(kSaveWordsButtonId));
      },
      false);
  EXPECT_EQ(Shown(), (Texts{u"Import complete|Tessaline_Eng.txt|0"}));
}

TEST_F(DictionaryPageTest, ImportStopsAt512WordsCountingThoseListed) {
  std::vector<std::u16string> listed;
  for (int i = 0; i < 510; ++i) {
    listed.push_back(u"w" + std::u16string(1, u'a' + i % 26) + std::u16string(1, u'a' + i / 26));
  }
  WriteUserDictionary("Eng", listed, {});
  WriteDocument("Tessaline_Eng.txt", "one\r\ntwo\r\nthree\r\n");
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        sheet.Click(kImportButtonId);
        const Texts words = sheet.ListEntries(kWordListId);
        EXPECT_EQ(words.size(), 512u);
        EXPECT_EQ(std::count(words.begin(), words.end(), u"three"), 0);
      },
      false);
}

TEST_F(DictionaryPageTest, NothingToReadOrNoKeysOrNoFolder) {
  WriteInstalled("Languages/Keyless.chr", "charset=0,0x61\n");
  WriteInstalled("Languages/Keyless.voc", "");
  WriteUserDictionary("Keyless", {u"b", u"b"}, {});
  WriteDocument("Tessaline_Key.txt", "a\r\n");
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        sheet.Click(kImportButtonId);                  // no Tessaline_Eng.txt
        sheet.PickComboEntry(kVocLanguageComboId, 2);  // Keyless
        sheet.Click(kImportButtonId);
        EXPECT_EQ(sheet.ListEntries(kWordListId), (Texts{u"b", u"b"}));
        EXPECT_FALSE(sheet.Enabled(kSaveWordsButtonId));
        SetDocumentsFolderSource([] { return std::optional<WideString>(); });
        sheet.Click(kExportButtonId);
        sheet.Click(kImportButtonId);
        SetDocumentsFolderSource([] { return std::optional<WideString>(u"\\Gone"); });
        sheet.Click(kExportButtonId);
      },
      false);
  EXPECT_EQ(Shown(), (Texts{u"Could not open the file|Tessaline_Eng.txt|64",
                            u"Import complete|Tessaline_Key.txt|0",
                            u"Could not write the file|Tessaline_Key.txt|64"}));
}

TEST_F(DictionaryPageTest, SavesOfBothPagesKeepEachOthersPart) {
  RunSheet(
      [&](SheetDriver& sheet) {
        ShowDictionary(sheet, 0);
        sheet.SelectTab(kFrequencyTab);
        sheet.Click(kClearRecordsButtonId);
        sheet.Click(kSaveRecordsButtonId);
        sheet.SelectTab(kDictionaryTab);
        sheet.PickListEntry(kWordListId, 0);
        sheet.Click(kRemoveWordButtonId);
        sheet.Click(kSaveWordsButtonId);
        sheet.SelectTab(kFrequencyTab);
        sheet.Click(kSaveRecordsButtonId);  // disabled: nothing happens
      },
      false);
  const UserDictionary saved = Usr("Eng");
  EXPECT_TRUE(saved.Adaptations().empty());
  EXPECT_EQ(saved.Words(), (std::vector<WideString>{u"beta", u"zeta"}));
  // The input method finds the file changed by its stamp, not by the change counter: a cancelled
  // sheet leaves the counter alone.
  EXPECT_EQ(StoredNumber(L"UpdateCounter"), std::nullopt);
}

}  // namespace
}  // namespace tessaline::testing
