// The language object: loading its three files, user words, learning and the daily decay.
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <thread>

#include "EngineFiles.h"
#include "engine/Language.h"
#include "engine/UserDictionaryFile.h"
#include "system/FileLock.h"
#include "support/TestFiles.h"
#include "system/Clock.h"

namespace tessaline {
namespace {

using testing::Codes;
using testing::PutU32;

constexpr const char* kChr = "\\Tess\\Languages\\English.chr";

class LanguageTest : public ::testing::Test {
 protected:
  LanguageTest() : root(dir.Path()) {
    dir.Write("Tess/Languages/English.chr", testing::kTestLanguage);
    WriteVoc({{Codes("cat"), 40}, {Codes("dog"), 40}, {Codes("the"), 100}, {Codes("zoo"), 5}});
    SetDay(100);
    ForgetUserDictionaryFiles();
  }
  ~LanguageTest() override {
    SetUtcDateSource({});
    ForgetUserDictionaryFiles();
  }

  void WriteVoc(const std::vector<testing::VocWord>& words) {
    dir.Write("Tess/Languages/English.voc", testing::VocFile(words));
  }
  void WriteUsr(const std::vector<std::u16string>& words,
                const std::vector<std::pair<std::u16string, AdaptationRecord>>& records,
                uint32_t day) {
    std::string file;
    PutU32(file, static_cast<uint32_t>(words.size()));
    for (const auto& w : words) testing::PutUsrWord(file, w);
    PutU32(file, static_cast<uint32_t>(records.size()));
    for (const auto& [w, r] : records) testing::PutUsrRecord(file, w, r.entry, r.count, r.base);
    PutU32(file, day);
    dir.Write("Tess/Languages/English.usr", file);
  }
  std::string UsrPath() const { return dir.File("Tess/Languages/English.usr"); }
  bool UsrExists() const { return std::filesystem::exists(UsrPath()); }
  static void SetDay(int day) {
    SetUtcDateSource([day] {
      UtcDate date;
      date.dayOfYear = day;
      return date;
    });
  }
  std::unique_ptr<Language> Make(bool user = true, bool adaptive = true, int freqMax = 20,
                                 int freqInc = 4) {
    return std::make_unique<Language>(kChr, u"English", user, adaptive, freqMax, freqInc);
  }
  int Frequency(const Language& language, const char* word) {
    const int32_t i = language.Words().FindWord(Codes(word));
    return i < 0 ? -1 : language.EntryLengthAndFrequency(static_cast<size_t>(i)).frequency;
  }
  // The file as a fresh reader sees it.
  UserDictionary Saved() {
    UserDictionary saved;
    EXPECT_TRUE(saved.LoadUserDictionary(UsrPath()));
    return saved;
  }

  testing::TempDir dir;
  testing::DeviceRootScope root;
};

TEST_F(LanguageTest, LoadsKeyMapVocabularyAndQueries) {
  auto language = Make();
  EXPECT_EQ(language->Name(), u"English");
  EXPECT_EQ(language->EntryCount(), 4u);
  EXPECT_EQ(language->EntryLengthAndFrequency(2).frequency, 100);
  EXPECT_EQ(language->EntryLengthAndFrequency(2).length, 3);
  EXPECT_EQ(language->EntryLengthAndFrequency(4).length, 0);
  uint8_t buffer[kDecodeBufferSize];
  EXPECT_EQ(language->DecodeEntry(1, buffer), 3u);
  EXPECT_EQ(language->DecodeToText(std::string(reinterpret_cast<char*>(buffer))), u"dog");
  EXPECT_EQ(language->DecodeEntry(9, buffer), 0u);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(language->KeyLetterCount(7), 4);
  EXPECT_EQ(language->KeyCaption(2), u"abc");
  EXPECT_EQ(language->NextLetterOnKey(2, u'c'), u'a');
  EXPECT_EQ(language->LetterIndexOnKey(9, u'z'), 3);
  EXPECT_FALSE(language->KeyHasPunctuation(2));
  EXPECT_EQ(language->PairCount(), 0u);
  EXPECT_FALSE(UsrExists());  // loading writes nothing
}

TEST_F(LanguageTest, DerivedPathsReplaceOnlyTheLastExtension) {
  EXPECT_EQ(SiblingFilePath("\\My.Folder\\Languages\\English.chr", ".voc"),
            "\\My.Folder\\Languages\\English.voc");
  // Only the last "." counts, even when it stands in a folder name.
  EXPECT_EQ(SiblingFilePath("\\My.Folder\\English", ".voc"), "\\My.voc");
  EXPECT_EQ(SiblingFilePath("\\Folder\\English", ".usr"), "\\Folder\\English");

  // Such a language reads its one file three times, but never writes over it.
  const std::string chr = dir.Write("Plain/English", testing::kTestLanguage);
  testing::MessageRecorder messages;
  Language plain("\\Plain\\English", u"English", true, true, 20, 4);
  EXPECT_TRUE(plain.AddUserWord(u"bee"));
  EXPECT_FALSE(plain.StoreUserDictionary());
  EXPECT_EQ(testing::ReadBytes(chr), testing::kTestLanguage);
}

TEST_F(LanguageTest, MissingVocabularyIsReportedAndTheUserFileIsLeftAlone) {
  std::filesystem::remove(dir.File("Tess/Languages/English.voc"));
  WriteUsr({u"word"}, {{u"cat", {0, 5, 40}}}, 3);
  const std::string before = testing::ReadBytes(UsrPath());
  testing::MessageRecorder messages;
  auto language = Make();
  ASSERT_EQ(messages.Texts().size(), 1u);
  EXPECT_EQ(messages.Texts()[0], "Can not load '\\Tess\\Languages\\English.voc' vocabulary");
  EXPECT_FALSE(messages.Calls()[0].hasCaption);
  EXPECT_EQ(messages.Calls()[0].style, kMessageOk);
  EXPECT_EQ(language->EntryCount(), 0u);
  EXPECT_EQ(language->User().WordCount(), 0u);
  EXPECT_EQ(language->KeyLetterCount(2), 3);  // the key map is still there

  // Nothing this object does may replace the user's file with its empty dictionary.
  EXPECT_TRUE(language->AddUserWord(u"new"));
  EXPECT_FALSE(language->StoreUserDictionary());
  SetDay(101);
  language->DailyDecay();
  EXPECT_EQ(testing::ReadBytes(UsrPath()), before);
}

TEST_F(LanguageTest, EmptyVocabularyFileLoadsWithoutMessage) {
  dir.Write("Tess/Languages/English.voc", std::string(12, '\0'));
  auto language = Make();
  EXPECT_EQ(language->EntryCount(), 0u);
}

TEST_F(LanguageTest, UserWordsReturnToTheVocabularyAtLoad) {
  // "dog" is in the vocabulary by now, "bee" comes twice, "Ärger" has a letter of no charset.
  WriteUsr({u"bee", u"dog", u"bee", u"\u00C4rger", u"zebra", u""}, {}, 0);
  auto language = Make();
  EXPECT_EQ(language->User().Words(), (std::vector<std::u16string>{u"bee", u"zebra"}));
  EXPECT_EQ(language->EntryCount(), 6u);
  EXPECT_EQ(Frequency(*language, "bee"), 1);
  EXPECT_EQ(Frequency(*language, "zebra"), 1);
  // The user's words follow the file's four, which keep their places.
  EXPECT_EQ(language->Words().FindWord(Codes("bee")), 4);
  EXPECT_EQ(language->Words().FindWord(Codes("the")), 2);

  // The next save takes the repeated, empty and known words out of the file too; a word the key
  // map cannot encode stays there (another key map may take it).
  ASSERT_TRUE(language->StoreUserDictionary());
  EXPECT_EQ(Saved().Words(), (std::vector<std::u16string>{u"bee", u"\u00C4rger", u"zebra"}));

  // A new vocabulary that holds "zebra" drops it from the list, and from the file at the next
  // save. (The language uses its vocabulary file in place: under Win32 no one may replace it
  // while the language lives.)
  language.reset();
  WriteVoc({{Codes("cat"), 40}, {Codes("zebra"), 9}});
  language = Make();
  EXPECT_EQ(language->User().Words(), (std::vector<std::u16string>{u"bee"}));
  EXPECT_EQ(Frequency(*language, "zebra"), 9);
  ASSERT_TRUE(language->StoreUserDictionary());
  EXPECT_EQ(Saved().Words(), (std::vector<std::u16string>{u"bee", u"\u00C4rger"}));
}

TEST_F(LanguageTest, AddUserWordRefusalsSaveNothing) {
  auto language = Make();
  EXPECT_TRUE(language->AddUserWord(u"bee"));
  EXPECT_EQ(Frequency(*language, "bee"), 1);
  EXPECT_FALSE(language->AddUserWord(u"bee"));        // in the list
  EXPECT_FALSE(language->AddUserWord(u"cat"));        // in the vocabulary
  EXPECT_FALSE(language->AddUserWord(u"caf\u00E9"));  // a letter of no charset
  EXPECT_FALSE(language->AddUserWord(u""));
  EXPECT_FALSE(language->AddUserWord(std::u16string(256, u'a')));  // more than the file holds
  // Too long for the vocabulary, yet the user's word: kept in the list only.
  EXPECT_TRUE(language->AddUserWord(std::u16string(40, u'b')));
  EXPECT_EQ(language->EntryCount(), 5u);
  EXPECT_EQ(language->User().WordCount(), 2u);
  EXPECT_FALSE(UsrExists());
}

TEST_F(LanguageTest, LearningRaisesTheFrequencyUpToTheFullBonus) {
  auto language = Make();
  language->LearnWord(u"cat");
  EXPECT_EQ(Frequency(*language, "cat"), 46);
  EXPECT_EQ(Saved().Adaptations().at(u"cat").count, 1);
  language->LearnWord(u"cat");
  EXPECT_EQ(Frequency(*language, "cat"), 71);
  const int expected[] = {97, 122, 147, 167, 167};  // counts 9, 13, 17, 20, 20
  for (int frequency : expected) {
    language->LearnWord(u"cat");
    EXPECT_EQ(Frequency(*language, "cat"), frequency);
  }
  const AdaptationRecord saved = Saved().Adaptations().at(u"cat");
  EXPECT_EQ(saved.count, 20);
  EXPECT_EQ(saved.base, 40);
  EXPECT_EQ(saved.entry, 0);

  // Words outside the vocabulary, or not encodable, are not learned and save nothing.
  std::filesystem::remove(UsrPath());
  language->LearnWord(u"cow");
  language->LearnWord(u"\u00C4");
  EXPECT_EQ(language->User().Adaptations().size(), 1u);
  EXPECT_FALSE(UsrExists());
}

TEST_F(LanguageTest, FreqMaxOneGivesTheFullBonusAtOnce) {
  auto language = Make(true, true, 1, 4);
  language->LearnWord(u"dog");
  EXPECT_EQ(Frequency(*language, "dog"), 167);
  // Settings below 1 count as 1.
  auto raised = Make(true, true, 0, -5);
  EXPECT_EQ(raised->FreqMax(), 1);
  EXPECT_EQ(raised->FreqInc(), 1);
}

TEST_F(LanguageTest, AdaptationsApplyAtLoadOnlyWhenAdaptive) {
  WriteUsr({}, {{u"the", {2, 20, 100}}, {u"zoo", {3, 10, 5}}}, 0);
  EXPECT_EQ(Frequency(*Make(true, true), "the"), 227);
  EXPECT_EQ(Frequency(*Make(true, true), "zoo"), 68);
  EXPECT_EQ(Frequency(*Make(true, false), "the"), 100);
}

TEST_F(LanguageTest, StaleCachedEntryIsFoundAgain) {
  // "the" was entry 1 when learned (another vocabulary file); it is entry 2 of this one. The
  // user words "bee" and "cow" do not move the file's entries.
  WriteUsr({u"bee", u"cow"}, {{u"the", {1, 4, 100}}, {u"ghost", {1, 4, 30}}}, 0);
  auto language = Make();
  AdaptationRecord& the = language->User().Adaptations().at(u"the");
  EXPECT_EQ(the.entry, 2);
  EXPECT_EQ(Frequency(*language, "the"), 125);
  EXPECT_EQ(Frequency(*language, "cow"), 1);
  // A word that is gone keeps the negative result of its search: where the file would hold it.
  EXPECT_EQ(language->User().Adaptations().at(u"ghost").entry, -3);
  EXPECT_EQ(Frequency(*language, "dog"), 40);
}

TEST_F(LanguageTest, DailyDecayRunsOncePerDay) {
  WriteUsr({}, {{u"cat", {0, 5, 40}}, {u"dog", {1, 1, 40}}, {u"the", {2, 25, 100}}}, 99);
  auto language = Make();
  EXPECT_EQ(Frequency(*language, "dog"), 46);
  EXPECT_EQ(Frequency(*language, "the"), 258);  // a count from a larger FreqMax
  language->DailyDecay();
  const AdaptationMap& records = language->User().Adaptations();
  EXPECT_EQ(records.at(u"cat").count, 4);
  EXPECT_EQ(Frequency(*language, "cat"), 65);
  EXPECT_EQ(records.count(u"dog"), 0u);
  EXPECT_EQ(Frequency(*language, "dog"), 40);
  EXPECT_EQ(records.at(u"the").count, 19);
  EXPECT_EQ(Frequency(*language, "the"), 220);
  UserDictionary saved = Saved();
  EXPECT_EQ(saved.DecayDay(), 100u);
  EXPECT_EQ(saved.Adaptations().size(), 2u);

  // The same day again: nothing changes and nothing is written.
  std::filesystem::remove(UsrPath());
  language->DailyDecay();
  EXPECT_EQ(records.at(u"cat").count, 4);
  EXPECT_FALSE(UsrExists());

  // A new dictionary has decay day 0, so on the first day of a year its first decay is skipped.
  auto reloaded = Make();
  EXPECT_EQ(reloaded->User().DecayDay(), 0u);  // the file is gone: a new dictionary
  SetDay(0);
  reloaded->DailyDecay();
  EXPECT_FALSE(UsrExists());  // day 0 is the day of a new dictionary
}

TEST_F(LanguageTest, WithoutUserDictionaryNothingIsReadOrWritten) {
  WriteUsr({u"bee"}, {{u"cat", {0, 20, 40}}}, 0);
  const std::string before = testing::ReadBytes(UsrPath());
  auto language = Make(false);
  EXPECT_EQ(language->EntryCount(), 4u);
  EXPECT_EQ(language->User().WordCount(), 0u);
  EXPECT_EQ(Frequency(*language, "cat"), 40);
  language->LearnWord(u"cat");
  EXPECT_FALSE(language->StoreUserDictionary());
  EXPECT_EQ(testing::ReadBytes(UsrPath()), before);
}

// ---------------------------------------------------------------- other writers of the file

constexpr const char* kUsr = "\\Tess\\Languages\\English.usr";

TEST_F(LanguageTest, AnotherWritersChangeIsSeenAndKept) {
  WriteUsr({u"bee"}, {{u"cat", {0, 5, 40}}}, 99);
  auto language = Make();
  EXPECT_FALSE(language->FileChangedElsewhere());
  // Another program (a view of the file of its own) spells "owl" and counts "dog".
  UserDictionaryFile other(kUsr);
  UserDictionaryEdits edits;
  edits.AddWord(u"owl");
  edits.Learn(u"dog", 1, 40, 4, 20);
  ASSERT_EQ(other.Commit(edits).status, UserFileStatus::kSaved);
  EXPECT_TRUE(language->FileChangedElsewhere());
  // This one commits "cat" before it looks: its write merges, the other's words stay.
  language->LearnWord(u"cat");
  UserDictionary saved = Saved();
  EXPECT_EQ(saved.Words(), (std::vector<std::u16string>{u"bee", u"owl"}));
  EXPECT_EQ(saved.Adaptations().at(u"cat").count, 9);
  EXPECT_EQ(saved.Adaptations().at(u"dog").count, 1);
  // Its own copy lacks them until it reads the files again, in place.
  EXPECT_TRUE(language->FileChangedElsewhere());
  EXPECT_EQ(Frequency(*language, "owl"), -1);
  const Language* before = language.get();
  EXPECT_TRUE(language->RefreshFromFiles());
  EXPECT_EQ(language.get(), before);
  EXPECT_EQ(Frequency(*language, "owl"), 1);
  EXPECT_EQ(Frequency(*language, "dog"), 46);
  EXPECT_EQ(Frequency(*language, "cat"), 97);  // count 9
  EXPECT_FALSE(language->FileChangedElsewhere());
  EXPECT_FALSE(language->RefreshFromFiles());
  // Its own writes do not count as another's.
  language->LearnWord(u"dog");
  EXPECT_FALSE(language->FileChangedElsewhere());
}

TEST_F(LanguageTest, AFailedSaveIsToldOnceAndKeptUntilOneSucceeds) {
  auto language = Make();
  testing::MessageRecorder messages;
  {
    // Another program holds the writers' lock for longer than a writer waits (a thread here: a
    // kernel mutex is its owning thread's however often it takes it).
    std::promise<void> taken, done;
    std::thread other([&] {
      const auto held = LockDataFile(kUsr, 0);
      taken.set_value();
      done.get_future().wait();
    });
    taken.get_future().wait();
    EXPECT_TRUE(language->AddUserWord(u"bee"));
    EXPECT_FALSE(language->StoreUserDictionary());
    EXPECT_TRUE(language->LearnWord(u"cat"));
    EXPECT_FALSE(UsrExists());
    // Told between events, once.
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_TRUE(UserFileFailuresToTell());
    TellUserFileFailures();
    TellUserFileFailures();
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_NE(messages.Texts()[0].find("English.usr"), std::string::npos);
    EXPECT_NE(messages.Texts()[0].find("another program"), std::string::npos);
    EXPECT_TRUE(AnyUserEditsPending());
    done.set_value();
    other.join();
  }
  // Freed with the language, the edits stay with the file; a new object shows them.
  language = Make();
  EXPECT_EQ(Frequency(*language, "bee"), 1);
  EXPECT_EQ(Frequency(*language, "cat"), 46);
  ASSERT_TRUE(language->StoreUserDictionary());
  EXPECT_FALSE(AnyUserEditsPending());
  UserDictionary saved = Saved();
  EXPECT_EQ(saved.Words(), std::vector<std::u16string>{u"bee"});
  EXPECT_EQ(saved.Adaptations().at(u"cat").count, 1);
  EXPECT_EQ(messages.Texts().size(), 1u);
}

TEST_F(LanguageTest, AnUnreadableUserDictionaryIsNeverWrittenOver) {
  // A .usr that is there but cannot be read (here: a folder in its place).
  std::filesystem::create_directories(UsrPath());
  testing::MessageRecorder messages;
  auto language = Make();
  TellUserFileFailures();
  ASSERT_EQ(messages.Texts().size(), 1u);
  EXPECT_NE(messages.Texts()[0].find("cannot be read"), std::string::npos);
  EXPECT_TRUE(language->AddUserWord(u"bee"));
  EXPECT_TRUE(language->LearnWord(u"cat"));
  EXPECT_TRUE(language->LearnWord(u"cat"));  // count 5
  SetDay(101);
  language->DailyDecay();  // count 4
  EXPECT_FALSE(language->StoreUserDictionary());
  EXPECT_TRUE(std::filesystem::is_directory(UsrPath()));
  TellUserFileFailures();
  EXPECT_EQ(messages.Texts().size(), 1u);  // told once
  EXPECT_TRUE(AnyUserEditsPending());
  // Readable again: the edits land on what it holds.
  std::filesystem::remove(UsrPath());
  WriteUsr({u"owl"}, {}, 7);
  ASSERT_TRUE(language->StoreUserDictionary());
  const UserDictionary saved = Saved();
  EXPECT_EQ(saved.Words(), (std::vector<std::u16string>{u"owl", u"bee"}));
  ASSERT_EQ(saved.Adaptations().count(u"cat"), 1u);
  EXPECT_EQ(saved.Adaptations().at(u"cat").count, 4);
  EXPECT_EQ(saved.DecayDay(), 101u);
  // The object lacked the file's words: it reads them now.
  EXPECT_TRUE(language->RefreshFromFiles());
  EXPECT_EQ(Frequency(*language, "owl"), 1);
}

TEST_F(LanguageTest, ADamagedLanguageNeverRewritesTheUserDictionary) {
  WriteUsr({u"bee", u"\u00C4rger"}, {{u"cat", {0, 5, 40}}}, 3);
  const std::string before = testing::ReadBytes(UsrPath());
  const auto untouched = [&](Language& language) {
    language.AddUserWord(u"owl");
    language.LearnWord(u"cat");
    SetDay(101);
    language.DailyDecay();
    EXPECT_FALSE(language.StoreUserDictionary());
    EXPECT_EQ(testing::ReadBytes(UsrPath()), before);
    EXPECT_FALSE(AnyUserEditsPending());
  };
  {
    SCOPED_TRACE("a language file without letters");
    dir.Write("Tess/Languages/English.chr", "");
    auto language = Make();
    untouched(*language);
  }
  {
    SCOPED_TRACE("a vocabulary cut short");
    dir.Write("Tess/Languages/English.chr", testing::kTestLanguage);
    const std::string voc =
        testing::VocFile({{Codes("cat"), 40}, {Codes("dog"), 40}, {Codes("the"), 100}});
    dir.Write("Tess/Languages/English.voc", voc.substr(0, voc.size() - 5));
    auto language = Make();
    untouched(*language);
  }
  {
    SCOPED_TRACE("a sound language: the word it cannot encode stays in the file");
    WriteVoc({{Codes("cat"), 40}, {Codes("dog"), 40}});
    auto language = Make();
    language->LearnWord(u"cat");
    EXPECT_EQ(Saved().Words(), (std::vector<std::u16string>{u"bee", u"\u00C4rger"}));
  }
}

}  // namespace
}  // namespace tessaline
