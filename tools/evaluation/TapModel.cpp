#include "evaluation/TapModel.h"

#include <algorithm>
#include <unordered_map>

#include "vocbuild/WordList.h"

namespace tessaline::evaluation {
namespace {

using vocbuild::FoldCase;
using vocbuild::LowerLetter;

struct KeyPlace {
  int key = 0;
  int index = 0;  // position on the key: multi-tap needs index + 1 taps
};

class Keypad {
 public:
  explicit Keypad(const KeyMap& map) : map_(map) {
    for (int key = 2; key <= 9; ++key) {
      const WideString letters = map.KeyLetters(key);
      for (size_t i = 0; i < letters.size(); ++i)
        places_.emplace(letters[i], KeyPlace{key, static_cast<int>(i)});
    }
  }
  bool IsWordLetter(char16_t ch) const { return places_.count(LowerLetter(ch)) != 0; }
  KeyPlace Place(char16_t lower) const { return places_.at(lower); }
  int PunctuationIndex(char16_t ch) const { return ch ? map_.LetterIndexOnKey(1, ch) : -1; }

 private:
  const KeyMap& map_;
  std::unordered_map<char16_t, KeyPlace> places_;
};

bool IsUpper(char16_t ch) { return LowerLetter(ch) != ch; }

// The case state a word needs: 0 lower, 1 capitals, 2 capitalise the word.
int WantedCase(const WideString& word, bool& approximated) {
  size_t upper = 0;
  for (char16_t ch : word) upper += IsUpper(ch);
  approximated = false;
  if (upper == 0) return 0;
  if (upper == word.size() && word.size() >= 2) return 1;
  if (upper == 1 && IsUpper(word[0])) return 2;
  approximated = true;
  return 2;
}

bool ReplacesCommittedSpace(char16_t ch) {
  return WideView(u".,!?:;')_").find(ch) != WideView::npos;
}

// Counts every tap and hands it to the sink, if there is one.
struct Taps {
  TapCount& count;
  TapSink* sink = nullptr;

  void Make(TapKind kind, int key = 0, int index = 0, char16_t ch = 0) {
    ++count.taps;
    if (sink) sink->OnTap(Tap{kind, key, index, ch});
  }
  void Pause() {
    if (sink) sink->OnTap(Tap{TapKind::kMultiTapPause});
  }
};

// The characters that are not words cost the same in both modes.
struct OtherCharacters {
  const Keypad& pad;
  Taps& taps;
  bool autoSpace = false;
  int* caseState = nullptr;  // word mode only: the punctuation key changes the case state

  void Type(char16_t ch) {
    ++taps.count.characters;
    const int punctuation = pad.PunctuationIndex(ch);
    if (ch == u' ') {
      if (!autoSpace) taps.Make(TapKind::kSpaceKey);
    } else if (ch == u'\n') {
      if (autoSpace) taps.Make(TapKind::kBackspaceKey);
      taps.Make(TapKind::kEnterKey);
    } else if (punctuation >= 0) {
      for (int i = 0; i <= punctuation; ++i) taps.Make(TapKind::kPunctuationKey, 1, i, ch);
      if (caseState && *caseState != 1)
        *caseState = (ch == u'.' || ch == u'!' || ch == u'?') ? 2 : 0;
    } else {
      if (autoSpace && !ReplacesCommittedSpace(ch)) taps.Make(TapKind::kBackspaceKey);
      taps.Make(TapKind::kSymbolsKey);
      taps.Make(TapKind::kSymbol, 0, 0, ch);
    }
    autoSpace = false;
  }
};

WideString WithoutCarriageReturns(WideView text) {
  WideString out;
  out.reserve(text.size());
  for (char16_t ch : text) {
    if (ch != u'\r') out.push_back(ch);
  }
  return out;
}

}  // namespace

TapCount ReplayWordMode(WideView input, const KeyMap& map, Predictor& predictor, bool learning,
                        TapSink* sink) {
  const WideString text = WithoutCarriageReturns(input);
  const Keypad pad(map);
  TapCount count;
  Taps taps{count, sink};
  int caseState = 0;
  OtherCharacters other{pad, taps, false, &caseState};
  size_t i = 0;
  while (i < text.size()) {
    if (!pad.IsWordLetter(text[i])) {
      other.Type(text[i++]);
      continue;
    }
    size_t j = i;
    while (j < text.size() && pad.IsWordLetter(text[j])) ++j;
    const WideString word = text.substr(i, j - i);
    const WideString lower = FoldCase(word);
    const bool punctuationNext = j < text.size() && pad.PunctuationIndex(text[j]) >= 0;
    count.characters += word.size();
    ++count.words;

    bool approximated = false;
    const int wanted = WantedCase(word, approximated);
    count.caseApproximated += approximated;
    for (int i = 0; i < (wanted - caseState + 3) % 3; ++i) taps.Make(TapKind::kCaseKey);
    caseState = wanted;
    const size_t tapsBefore = count.taps;

    predictor.Reset();
    std::vector<WideString> candidates;
    int committedAt = -1;
    bool committedEarly = false;
    for (size_t k = 0; k < lower.size(); ++k) {
      predictor.PressKey(pad.Place(lower[k]).key);
      taps.Make(TapKind::kLetterKey, pad.Place(lower[k]).key, static_cast<int>(k), lower[k]);
      candidates = predictor.Candidates();
      const auto found = std::find(candidates.begin(), candidates.end(), lower);
      const int index =
          found == candidates.end() ? -1 : static_cast<int>(found - candidates.begin());
      if (index >= 0 && index < kVisibleCandidates) {
        committedAt = index;
        const bool last = k + 1 == lower.size();
        // The first entry is the selected one: the punctuation key commits it by itself.
        if (!(index == 0 && last && punctuationNext)) taps.Make(TapKind::kCandidate, 0, index);
        committedEarly = true;
        break;
      }
    }
    bool spelled = false;
    if (!committedEarly) {
      const auto found = std::find(candidates.begin(), candidates.end(), lower);
      spelled = found == candidates.end();
      const int target = static_cast<int>(spelled ? candidates.size() : found - candidates.begin());
      const int lastEntry = static_cast<int>(candidates.size());  // the spelling entry
      int selected = 0;
      while (!(selected <= target && target < selected + kVisibleCandidates)) {
        selected = std::min(selected + kVisibleCandidates, lastEntry);
        taps.Make(TapKind::kNextCandidate);
      }
      if (spelled) {
        taps.Make(TapKind::kCandidate, 0, target - selected);  // the spelling entry
        for (size_t k = 0; k < lower.size(); ++k) {
          const KeyPlace place = pad.Place(lower[k]);
          if (k > 0 && pad.Place(lower[k - 1]).key == place.key) taps.Pause();
          for (int i = 0; i <= place.index; ++i)
            taps.Make(TapKind::kSpellingKey, place.key, i, lower[k]);
        }
        if (!punctuationNext) taps.Make(TapKind::kCommitSpelled);
        ++count.spelled;
      } else {
        committedAt = target;
        if (!(selected == target && punctuationNext))
          taps.Make(TapKind::kCandidate, 0, target - selected);
      }
    }
    count.wordTaps += count.taps - tapsBefore;
    count.wordCharacters += word.size() + 1;
    if (committedAt == 0) ++count.firstCandidate;
    if (committedEarly) ++count.visibleCandidate;
    if (learning) {
      if (spelled) predictor.AddUserWord(lower);
      predictor.LearnWord(lower);
    }
    if (caseState == 2) caseState = 0;
    other.autoSpace = true;
    i = j;
  }
  return count;
}

TapCount ReplayLetterMode(WideView input, const KeyMap& map) {
  const WideString text = WithoutCarriageReturns(input);
  const Keypad pad(map);
  TapCount count;
  Taps taps{count, nullptr};
  OtherCharacters other{pad, taps, false, nullptr};
  bool capitals = false;
  for (char16_t ch : text) {
    if (!pad.IsWordLetter(ch)) {
      other.Type(ch);
      continue;
    }
    ++count.characters;
    if (IsUpper(ch) != capitals) {
      capitals = !capitals;
      ++count.taps;
    }
    count.taps += static_cast<size_t>(pad.Place(LowerLetter(ch)).index) + 1;
  }
  return count;
}

}  // namespace tessaline::evaluation
