// The tap model of "tessaline eval", against a word search stand-in that ranks as the engine does
// (frequency, plus 127 for words of exactly the typed length; one-letter words only after one key).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "VocTestLanguage.h"
#include "evaluation/TapModel.h"

namespace tessaline::evaluation {
namespace {

class FakePredictor : public Predictor {
 public:
  FakePredictor(const KeyMap& map, std::vector<std::pair<WideString, int>> words) : map_(map), words_(std::move(words)) {}
  void Reset() override { keys_.clear(); }
  void PressKey(int key) override { keys_.push_back(key); }
  std::vector<WideString> Candidates() override {
    std::vector<std::pair<int, WideString>> scored;
    const size_t n = keys_.size();
    for (const auto& [word, frequency] : words_) {
      if (word.size() < n || (n == 1 && word.size() != 1)) continue;
      bool match = true;
      for (size_t i = 0; i < n && match; ++i) match = map_.LetterIndexOnKey(keys_[i], word[i]) >= 0;
      if (match) scored.push_back({frequency + (word.size() == n ? 127 : 0), word});
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<WideString> out;
    for (size_t i = 0; i < scored.size() && i < 7; ++i) out.push_back(scored[i].second);
    return out;
  }
  void AddUserWord(const WideString& word) override { words_.push_back({word, 1}); added.push_back(word); }
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

TEST(TapModelTest, CompletionsAndTheAutomaticSpace) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor predictor(map, {{u"the", 50}, {u"cat", 40}});
  // "th" already shows "the": two letters and a tap give "the "; likewise "ca" for "cat".
  const TapCount count = ReplayWordMode(u"the cat", map, predictor, false);
  EXPECT_EQ(count.characters, 7u);
  EXPECT_EQ(count.taps, 6u);
  EXPECT_EQ(count.words, 2u);
  EXPECT_EQ(count.firstCandidate, 2u);
  EXPECT_EQ(count.visibleCandidate, 2u);
  // A space that no commit gave costs a tap: two spaces in a row.
  EXPECT_EQ(ReplayWordMode(u"the  cat", map, predictor, false).taps, 7u);
}

TEST(TapModelTest, PunctuationKeyCommitsTheSelectedWord) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor predictor(map, {{u"he", 10}, {u"if", 5}});
  // h e, then "." commits "he" and replaces its space: 3 taps for "he."; the space after the
  // full stop is a tap of its own, and "If" needs nothing more: the full stop capitalises it.
  const TapCount count = ReplayWordMode(u"he. If", map, predictor, false);
  EXPECT_EQ(count.characters, 6u);
  EXPECT_EQ(count.taps, 3u + 1u + 3u);
  // "he'" : the apostrophe is the second letter of key 1.
  EXPECT_EQ(ReplayWordMode(u"he'", map, predictor, false).taps, 2u + 2u);
  // "!" is on no key of this language: two taps, after a word it replaces the space itself,
  // while "(" needs a Backspace for the space first.
  EXPECT_EQ(ReplayWordMode(u"he!", map, predictor, false).taps, 3u + 2u);
  EXPECT_EQ(ReplayWordMode(u"he(", map, predictor, false).taps, 3u + 3u);
  EXPECT_EQ(ReplayWordMode(u"he\n", map, predictor, false).taps, 3u + 2u);
}

TEST(TapModelTest, CaseKeyCyclesToTheCaseAWordNeeds) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  FakePredictor predictor(map, {{u"he", 10}, {u"if", 5}});
  // "He": 0 -> 1 -> 2 costs two taps; "IF" from 0 costs one and leaves capitals on, so the
  // following "he" pays two (1 -> 2 -> 0).
  EXPECT_EQ(ReplayWordMode(u"He", map, predictor, false).taps, 2u + 3u);
  EXPECT_EQ(ReplayWordMode(u"IF he", map, predictor, false).taps, 1u + 3u + 2u + 3u);
  // After a full stop a lower-case word has to leave "capitalise" again.
  EXPECT_EQ(ReplayWordMode(u"he.he", map, predictor, false).taps, 2u + 1u + 1u + 3u);
  const TapCount mixed = ReplayWordMode(u"hE", map, predictor, false);
  EXPECT_EQ(mixed.caseApproximated, 1u);
}

TEST(TapModelTest, NextCandidateKeyAndSpelling) {
  const KeyMap map = vocbuild::test::TestKeyMap();
  // Five words on the keys 2 2: "ab" is fifth, reached with one next-candidate tap.
  FakePredictor predictor(map, {{u"aa", 50}, {u"ac", 40}, {u"ba", 30}, {u"bb", 20}, {u"ab", 10}});
  TapCount count = ReplayWordMode(u"ab", map, predictor, false);
  EXPECT_EQ(count.taps, 2u + 1u + 1u);
  EXPECT_EQ(count.firstCandidate, 0u);
  EXPECT_EQ(count.visibleCandidate, 0u);
  // "cc" is not there: 2 keys, the spelling entry (sixth: one next tap) and its tap, c c by
  // multi-tap (3 + 3), and the commit.
  count = ReplayWordMode(u"cc", map, predictor, false);
  EXPECT_EQ(count.taps, 2u + 1u + 1u + 6u + 1u);
  EXPECT_EQ(count.spelled, 1u);
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
  EXPECT_EQ(count.words, 0u);
}

}  // namespace
}  // namespace tessaline::evaluation
