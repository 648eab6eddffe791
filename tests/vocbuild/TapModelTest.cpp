// The tap model of "tessaline eval" and of the emulator's typist, against a word search stand-in
// that ranks as the engine does (frequency, plus 127 for words of exactly the typed length; after
// one key the key's letters).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "VocTestLanguage.h"
#include "evaluation/Composition.h"
#include "evaluation/MissReport.h"
#include "evaluation/TapModel.h"

namespace tessaline::evaluation {
namespace {

class FakePredictor : public Predictor {
 public:
  FakePredictor(const KeyMap& map, std::vector<std::pair<WideString, int>> words)
      : map_(map), words_(std::move(words)) {}
  void Reset() override { keys_.clear(); }
  void PressKey(int key) override { keys_.push_back(key); }
  std::vector<WideString> Candidates() override {
    std::vector<std::pair<int, WideString>> scored;
    const size_t n = keys_.size();
    if (n == 1) {
      std::vector<WideString> letters;
      for (char16_t ch : map_.KeyLetters(keys_[0])) letters.push_back(WideString(1, ch));
      return letters;
    }
    for (const auto& [word, frequency] : words_) {
      if (word.size() < n) continue;
      bool match = true;
      for (size_t i = 0; i < n && match; ++i) match = map_.LetterIndexOnKey(keys_[i], word[i]) >= 0;
      if (match) scored.push_back({frequency + (word.size() == n ? 127 : 0), word});
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<WideString> out;
    for (size_t i = 0; i < scored.size() && i < 7; ++i) out.push_back(scored[i].second);
    return out;
  }
  void AddUserWord(const WideString& word) override {
    words_.push_back({word, 1});
    added.push_back(word);
  }
  void LearnWord(const WideString& word) override {
    learned.push_back(word);
    for (auto& [w, f] : words_) {
      if (w == word) f += 100;
    }
  }
  std::vector<WideString> added, learned;

 private:
  const KeyMap& map_;
  std::vector<std::pair<WideString, int>> words_;
  std::vector<int> keys_;
};

// The taps of a replay by kind, the waits included.
class KindSink : public TapSink {
 public:
  void OnTap(const Tap& tap) override {
    kinds.push_back(tap.kind);
    taps.push_back(tap);
  }
  size_t Count(TapKind kind) const { return std::count(kinds.begin(), kinds.end(), kind); }
  std::vector<TapKind> kinds;
  std::vector<Tap> taps;
};

TEST(TapModelTest, CompletionsAndTheAutomaticSpace) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor predictor(map, {{u"the", 50}, {u"cat", 40}});
  // "th" already shows "the": two letters and a tap give "the "; likewise "ca" for "cat", whose
  // space the text does not have: one Backspace at the end.
  const TapCount count = ReplayWordMode(u"the cat", map, predictor, false);
  EXPECT_EQ(count.characters, 7u);
  EXPECT_EQ(count.taps, 3u + 3u + 1u);
  EXPECT_EQ(count.words, 2u);
  EXPECT_EQ(count.firstCandidate, 2u);
  EXPECT_EQ(count.visibleCandidate, 2u);
  // A second space: the first tap on the space key only puts a space of its own in place of the
  // commit's (which it takes back), the second types one.
  EXPECT_EQ(ReplayWordMode(u"the  cat", map, predictor, false).taps, 3u + 2u + 3u + 1u);
}

TEST(TapModelTest, PunctuationKeyCommitsTheSelectedWord) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor predictor(map, {{u"he", 10}, {u"if", 5}});
  // h e, then "." commits "he" and replaces its space: 3 taps for "he."; the space after the
  // full stop is a tap of its own, and "If" needs nothing more: the full stop capitalises it.
  const TapCount count = ReplayWordMode(u"he. If", map, predictor, false);
  EXPECT_EQ(count.characters, 6u);
  EXPECT_EQ(count.taps, 3u + 1u + 3u + 1u);
  // "he'" : the apostrophe is the second letter of key 1.
  EXPECT_EQ(ReplayWordMode(u"he'", map, predictor, false).taps, 2u + 2u);
  // ")" from the symbols pop-up replaces a committed word's space by itself, "(" needs a
  // Backspace first, and so does a line break.
  EXPECT_EQ(ReplayWordMode(u"he)", map, predictor, false).taps, 3u + 2u);
  EXPECT_EQ(ReplayWordMode(u"he(", map, predictor, false).taps, 3u + 3u);
  EXPECT_EQ(ReplayWordMode(u"he\n", map, predictor, false).taps, 3u + 2u);
  // "he ." : the space is the commit's, so the full stop would take it back: a tap on the space
  // key settles it first.
  EXPECT_EQ(ReplayWordMode(u"he .", map, predictor, false).taps, 3u + 1u + 1u);
}

TEST(TapModelTest, DigitsComeFromTheSymbolsLayoutAndOtherCharactersCannotBeTyped) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor predictor(map, {{u"he", 10}});
  KindSink sink;
  KeypadState state;
  ReplayOptions options;
  // he + tap; the space is the commit's; a swipe to the symbols layout, 4, 2, a swipe back for
  // the punctuation key (the keypad has it, the symbols layout not), the space, a case tap (the
  // full stop asked for a capital), and he + tap + the Backspace at the end.
  const TapCount count = ReplayText(u"he 42. he", map, &predictor, options, state, &sink);
  EXPECT_EQ(count.taps, 3u + 1u + 2u + 1u + 1u + 1u + 1u + 3u + 1u);
  EXPECT_EQ(sink.Count(TapKind::kSwipeToSymbols), 1u);
  EXPECT_EQ(sink.Count(TapKind::kSwipeBack), 1u);
  EXPECT_EQ(sink.Count(TapKind::kDigit), 2u);
  EXPECT_FALSE(state.onSymbolsLayout);
  // Right after a committed word the digit needs the word's space taken away; a text ending on
  // the symbols layout swipes back.
  EXPECT_EQ(ReplayWordMode(u"he4", map, predictor, false).taps, 3u + 1u + 1u + 1u + 1u);
  // "!" is on no key of this language and in no pop-up: left out, and said so.
  const TapCount bang = ReplayWordMode(u"a!b", map, predictor, false);
  EXPECT_EQ(bang.untypable, 1u);
  EXPECT_EQ(bang.firstUntypable, 1u);
}

TEST(TapModelTest, LettersWrittenWithCombiningMarksAreTypedAsOneLetter) {
  // Marks compose one after the other with the letter before them, capitals and Cyrillic too.
  EXPECT_EQ(ComposeMarks(u"aplicacio\u0301n A\u0308 u\u0308\u0304 \u0438\u0306"),
            u"aplicaci\u00f3n \u00c4 \u01d6 \u0439");
  // A mark that makes no letter with what comes before stays, and so does one at the start.
  EXPECT_EQ(ComposeMarks(u"\u0301q\u0301 \u0308"), u"\u0301q\u0301 \u0308");
  EXPECT_EQ(ComposeMarks(u"\u00f3\u0301"), u"\u00f3\u0301");

  // The decomposed word is the composed word, not two words with a mark between them.
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor predictor(map, {{u"b\u00e4d", 10}});
  const TapCount composed = ReplayWordMode(u"b\u00e4d", map, predictor, false);
  const TapCount decomposed = ReplayWordMode(ComposeMarks(u"ba\u0308d"), map, predictor, false);
  EXPECT_EQ(decomposed.taps, composed.taps);
  EXPECT_EQ(decomposed.words, 1u);
  EXPECT_EQ(decomposed.untypable, 0u);
  EXPECT_EQ(ReplayWordMode(u"ba\u0308d", map, predictor, false).untypable, 1u);
}

TEST(TapModelTest, CaseKeyCyclesToTheCaseAWordNeeds) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor predictor(map, {{u"he", 10}, {u"if", 5}});
  // "He": 0 -> 1 -> 2 costs two taps; "IF" from 0 costs one and leaves capitals on, so the
  // following "he" pays two (1 -> 2 -> 0). Each ends on a commit: one Backspace.
  EXPECT_EQ(ReplayWordMode(u"He", map, predictor, false).taps, 2u + 3u + 1u);
  EXPECT_EQ(ReplayWordMode(u"IF he", map, predictor, false).taps, 1u + 3u + 2u + 3u + 1u);
  // After a full stop a lower-case word has to leave "capitalise" again.
  EXPECT_EQ(ReplayWordMode(u"he.he", map, predictor, false).taps, 2u + 1u + 1u + 3u + 1u);
  // Capitals inside a word are typed in letter mode: mode key, h (2), case, e (2); then the mode
  // key back lands on "capitalise", one case tap to lower case, he + tap, Backspace.
  KindSink sink;
  const TapCount mixed = ReplayWordMode(u"hE he", map, predictor, false, &sink);
  EXPECT_EQ(mixed.letterModeWords, 1u);
  EXPECT_EQ(mixed.taps, 6u + 1u + 1u + 1u + 3u + 1u);
  EXPECT_EQ(sink.Count(TapKind::kModeKey), 2u);
}

TEST(TapModelTest, NextCandidateKeyAndSpelling) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  // Five words on the keys 2 2: "ab" is fifth, reached with one next-candidate tap.
  FakePredictor predictor(map, {{u"aa", 50}, {u"ac", 40}, {u"ba", 30}, {u"bb", 20}, {u"ab", 10}});
  TapCount count = ReplayWordMode(u"ab", map, predictor, false);
  EXPECT_EQ(count.taps, 2u + 1u + 1u + 1u);
  EXPECT_EQ(count.firstCandidate, 0u);
  EXPECT_EQ(count.visibleCandidate, 0u);
  // "cc" is not there: 2 keys, the spelling entry (sixth: one next tap) and its tap, the copied
  // word waited out, c c by multi-tap (3 + 3) with the multi-tap time between, and the commit.
  KindSink sink;
  count = ReplayWordMode(u"cc", map, predictor, false, &sink);
  EXPECT_EQ(count.taps, 2u + 1u + 1u + 6u + 1u + 1u);
  EXPECT_EQ(count.spelled, 1u);
  EXPECT_EQ(sink.Count(TapKind::kSpelledCopyWait), 1u);
  EXPECT_EQ(sink.Count(TapKind::kMultiTapPause), 1u);
}

TEST(TapModelTest, NextCandidateLandingOnTheSpellingEntrySelectsItWithoutATap) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  // Three words and the spelling entry: the next-candidate key goes from 0 to 3, the spelling
  // entry itself. A tap on it now would commit the word copied into it.
  FakePredictor predictor(map, {{u"aa", 50}, {u"ac", 40}, {u"ba", 30}});
  KindSink sink;
  const TapCount count = ReplayWordMode(u"cc", map, predictor, false, &sink);
  EXPECT_EQ(count.taps, 2u + 1u + 6u + 1u + 1u);
  EXPECT_EQ(sink.Count(TapKind::kCandidate), 0u);
  EXPECT_EQ(sink.Count(TapKind::kCommitSpelled), 1u);
  const auto commit = std::find(sink.kinds.begin(), sink.kinds.end(), TapKind::kCommitSpelled);
  EXPECT_EQ(sink.taps[static_cast<size_t>(commit - sink.kinds.begin())].shown, 1);
}

TEST(TapModelTest, LearningAddsSpelledWordsAndLearnsCommits) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor off(map, {{u"he", 10}});
  const TapCount without = ReplayWordMode(u"xyz xyz", map, off, false);
  EXPECT_EQ(without.spelled, 2u);
  EXPECT_TRUE(off.added.empty());
  EXPECT_TRUE(off.learned.empty());
  FakePredictor on(map, {{u"he", 10}});
  const TapCount with = ReplayWordMode(u"xyz xyz", map, on, true);
  EXPECT_EQ(with.spelled, 1u);  // the second time it is offered
  EXPECT_EQ(on.added, std::vector<WideString>{u"xyz"});
  EXPECT_EQ(on.learned.size(), 2u);
  EXPECT_LT(with.taps, without.taps);
}

TEST(TapModelTest, LetterModeIsMultiTap) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  // A: case on + 1; b: case off + 2; space 1; c: 3; "." 1.
  const TapCount count = ReplayLetterMode(u"Ab c.\r\n", map);
  EXPECT_EQ(count.characters, 6u);  // CR LF is one line break
  EXPECT_EQ(count.taps, 2u + 3u + 1u + 3u + 1u + 1u);
  EXPECT_EQ(count.words, 2u);
}

TEST(TapModelTest, MissReportRanksWordsByTheirKeysAlone) {
  // 4663: home, good, hood and hoof all come before gone; zzz is not offered at all.
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor predictor(
      map, {{u"home", 60}, {u"good", 50}, {u"hood", 30}, {u"hoof", 20}, {u"gone", 10}});
  const MissReport report = FindMisses(u"Gone home, zzz. GONE!", map, predictor);
  EXPECT_EQ(report.words, 4u);
  EXPECT_EQ(report.missing, 1u);
  EXPECT_EQ(report.late, 2u);
  EXPECT_EQ(report.notFirst, 2u);
  ASSERT_EQ(report.outcomes.size(), 3u);
  EXPECT_EQ(report.outcomes[0].word, u"gone");  // most occurrences first, folded to lower case
  EXPECT_EQ(report.outcomes[0].count, 2u);
  EXPECT_EQ(report.outcomes[0].rank, 4);
  EXPECT_EQ(report.outcomes[0].first, u"home");
  EXPECT_EQ(report.outcomes[1].word, u"home");  // then in the text's order
  EXPECT_EQ(report.outcomes[1].rank, 0);
  EXPECT_TRUE(report.outcomes[1].first.empty());
  EXPECT_EQ(report.outcomes[2].rank, -1);
  const std::string text = DescribeMisses(report, 5);
  EXPECT_NE(text.find("zzz"), std::string::npos);
  EXPECT_NE(text.find("gone  5  home"), std::string::npos);
}

}  // namespace
}  // namespace tessaline::evaluation
