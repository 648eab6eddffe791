#include "evaluation/TapModel.h"

#include <algorithm>
#include <unordered_map>

#include "vocbuild/WordList.h"

namespace tessaline::evaluation {

const char16_t kPopupSymbols[] = u"'\"()@/:_;+&%*=<>[]|$#^";

namespace {

using vocbuild::FoldCase;
using vocbuild::LowerLetter;

constexpr int kPunctuationKey = 1;
constexpr int kSpaceKey = 10;

// The capital of a letter for the scripts the shipped languages use: the lowest character whose
// lower case it is.
char16_t PortableUpper(char16_t ch) {
  static const std::vector<char16_t> table = [] {
    std::vector<char16_t> upper(0x530);
    for (size_t c = 0; c < upper.size(); ++c) upper[c] = static_cast<char16_t>(c);
    for (size_t c = upper.size(); c-- > 0;) {
      const char16_t lower = LowerLetter(static_cast<char16_t>(c));
      if (lower != c && lower < upper.size()) upper[lower] = static_cast<char16_t>(c);
    }
    return upper;
  }();
  return ch < table.size() ? table[ch] : ch;
}

struct KeyPlace {
  int key = 0;
  int index = 0;  // position on the key: multi-tap needs index + 1 taps
};

bool IsSpaceEater(char16_t ch) { return WideView(u".,!?:;')_").find(ch) != WideView::npos; }
bool IsPopupSymbol(char16_t ch) {
  return ch != 0 && WideView(kPopupSymbols).find(ch) != WideView::npos;
}
bool IsDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

class Replay {
 public:
  Replay(const KeyMap& map, Predictor* predictor, const ReplayOptions& options, KeypadState& state,
         TapSink* sink)
      : map_(map), predictor_(predictor), options_(options), state_(state), sink_(sink) {
    for (int key = 2; key <= 9; ++key) {
      const WideString letters = map.KeyLetters(key);
      for (size_t i = 0; i < letters.size(); ++i)
        places_.emplace(letters[i], KeyPlace{key, static_cast<int>(i)});
    }
    step_ = std::max(1, options.candidateStep);
  }

  TapCount Run(const WideString& text) {
    size_t i = 0;
    while (i < text.size()) {
      if (!IsWordLetter(text[i])) {
        TypeOther(text[i], i);
        ++i;
        Progress(i);
        continue;
      }
      size_t j = i;
      while (j < text.size() && IsWordLetter(text[j])) ++j;
      const bool punctuationNext = j < text.size() && PunctuationIndex(text[j]) >= 0;
      position_ = i;
      TypeWord(text.substr(i, j - i), punctuationNext);
      i = j;
      if (!commitDeferred_) Progress(i);
    }
    if (spaceOwed_) {
      Backspace();
      Progress(text.size());
    }
    if (state_.onSymbolsLayout) {
      Make(TapKind::kSwipeBack);
      state_.onSymbolsLayout = false;
    }
    return count_;
  }

 private:
  // ---------------------------------------------------------------- the keypad's parts

  bool IsWordLetter(char16_t ch) const { return places_.count(LowerLetter(ch)) != 0; }
  int PunctuationIndex(char16_t ch) const {
    return ch ? map_.LetterIndexOnKey(kPunctuationKey, ch) : -1;
  }
  char16_t Upper(char16_t ch) const {
    return options_.upper ? options_.upper(ch) : PortableUpper(ch);
  }
  WideString WithCase(const WideString& lower, int caseState) const {
    WideString out = lower;
    if (caseState == 1) {
      for (char16_t& ch : out) ch = Upper(ch);
    } else if (caseState == 2 && !out.empty()) {
      out[0] = Upper(out[0]);
    }
    return out;
  }
  // Entries shown from the selected one: the step, or fewer at the end of the list.
  int Shown(int selected, int count) const { return std::min(step_, count - selected); }

  void Make(TapKind kind, int key = 0, int index = 0, char16_t ch = 0, int shown = 0) {
    ++count_.taps;
    if (sink_) sink_->OnTap(Tap{kind, key, index, ch, shown});
  }
  void Wait(TapKind kind) {
    if (sink_) sink_->OnTap(Tap{kind});
  }
  void Progress(size_t end) {
    if (sink_) sink_->OnProgress(end, spaceOwed_);
  }

  // A letter, punctuation or the space by multi-tap: a cycle still open on the same key is
  // waited out first, so that the first tap starts a new character.
  void MultiTap(TapKind kind, int key, int index, char16_t ch) {
    if (state_.lastKey == key && map_.KeyLetterCount(key) > 1) Wait(TapKind::kMultiTapPause);
    for (int i = 0; i <= index; ++i) Make(kind, key, i, ch);
    state_.lastKey = key;
  }

  void ToKeypad() {
    if (!state_.onSymbolsLayout) return;
    Make(TapKind::kSwipeBack);
    state_.onSymbolsLayout = false;
  }
  void ToSymbolsLayout() {
    if (state_.onSymbolsLayout) return;
    Make(TapKind::kSwipeToSymbols);
    state_.onSymbolsLayout = true;
  }

  void Backspace() {
    Make(TapKind::kBackspaceKey);
    state_.autoSpacePending = false;
    spaceOwed_ = false;
    state_.lastKey = -1;
  }

  // A commit's space that the text has used already is still the last thing sent: the space
  // and punctuation keys (and the symbols that take a space's place) would take it back. One
  // tap on the space key puts a space of its own in its place.
  void SettleSpace() {
    ToKeypad();
    MultiTap(TapKind::kSpaceKey, kSpaceKey, 0, u' ');
    state_.autoSpacePending = false;
  }

  // ---------------------------------------------------------------- characters other than words

  void TypeOther(char16_t ch, size_t position) {
    ++count_.characters;
    const bool wordMode = state_.wordMode;
    if (ch == u' ') {
      if (spaceOwed_) {
        spaceOwed_ = false;
        return;
      }
      if (wordMode && state_.autoSpacePending) SettleSpace();
      ToKeypad();
      MultiTap(TapKind::kSpaceKey, kSpaceKey, 0, u' ');
      state_.autoSpacePending = false;
      return;
    }
    if (ch == u'\n') {
      if (spaceOwed_) Backspace();
      Make(TapKind::kEnterKey);
      state_.autoSpacePending = false;
      state_.lastKey = -1;
      return;
    }
    const int punctuation = PunctuationIndex(ch);
    if (punctuation >= 0) {
      // The punctuation key is on the keypad only.
      ToKeypad();
      if (wordMode && state_.autoSpacePending && !spaceOwed_) SettleSpace();
      MultiTap(TapKind::kPunctuationKey, kPunctuationKey, punctuation, ch);
      if (wordMode && state_.caseState != 1) {
        state_.caseState = (ch == u'.' || ch == u'!' || ch == u'?') ? 2 : 0;
      }
      state_.autoSpacePending = false;
      spaceOwed_ = false;
      commitDeferred_ = false;
      return;
    }
    if (IsDigit(ch)) {
      ToSymbolsLayout();
      if (spaceOwed_) Backspace();
      Make(TapKind::kDigit, 0, 0, ch);
      state_.autoSpacePending = false;
      state_.lastKey = -1;
      return;
    }
    if (IsPopupSymbol(ch)) {
      if (spaceOwed_ && !IsSpaceEater(ch)) Backspace();
      if (wordMode && state_.autoSpacePending && !spaceOwed_ && IsSpaceEater(ch)) SettleSpace();
      Make(TapKind::kSymbolsKey);
      Make(TapKind::kSymbol, 0, 0, ch);
      state_.autoSpacePending = false;
      spaceOwed_ = false;
      state_.lastKey = -1;
      return;
    }
    ++count_.untypable;
    count_.firstUntypable = std::min(count_.firstUntypable, position);
  }

  // ---------------------------------------------------------------- words

  void TypeWord(const WideString& word, bool punctuationNext) {
    count_.characters += word.size();
    ++count_.words;
    ToKeypad();
    const WideString lower = FoldCase(word);
    // The case states that give the word exactly.
    bool fits[3] = {};
    bool any = false;
    for (int s = 0; s < 3; ++s) any |= fits[s] = WithCase(lower, s) == word;
    if (!any || options_.letterModeOnly || !predictor_) {
      TypeWordInLetterMode(word);
      return;
    }
    if (!state_.wordMode) {
      // Back to word mode: it starts in "capitalise next word".
      Make(TapKind::kModeKey);
      state_.wordMode = true;
      state_.caseState = 2;
      state_.lastKey = -1;
    }
    int taps = 3;
    int wanted = state_.caseState;
    for (int s = 0; s < 3; ++s) {
      const int distance = (s - state_.caseState + 3) % 3;
      if (fits[s] && distance < taps) taps = distance, wanted = s;
    }
    for (int t = 0; t < taps; ++t) Make(TapKind::kCaseKey);
    if (taps > 0) state_.lastKey = -1;
    state_.caseState = wanted;
    TypeWordInWordMode(lower, punctuationNext);
  }

  void Spell(const WideString& lower) {
    for (char16_t letter : lower) {
      const KeyPlace place = places_.at(letter);
      MultiTap(TapKind::kSpellingKey, place.key, place.index, letter);
    }
  }

  void TypeWordInWordMode(const WideString& lower, bool punctuationNext) {
    const size_t tapsBefore = count_.taps;
    predictor_->Reset();
    std::vector<WideString> candidates;
    int committedAt = -1;
    bool early = false, spelled = false, spellingAtOnce = false;
    bool deferred = false;  // the punctuation key that follows commits the word
    for (size_t k = 0; k < lower.size(); ++k) {
      const int key = places_.at(lower[k]).key;
      predictor_->PressKey(key);
      Make(TapKind::kLetterKey, key, static_cast<int>(k), lower[k]);
      state_.lastKey = -1;
      candidates = predictor_->Candidates();
      if (candidates.empty()) {
        // The list holds only the spelling entry, selected: the keys give nothing to spell from.
        spellingAtOnce = true;
        break;
      }
      const auto found = std::find(candidates.begin(), candidates.end(), lower);
      const int index =
          found == candidates.end() ? -1 : static_cast<int>(found - candidates.begin());
      const int shown = Shown(0, static_cast<int>(candidates.size()) + 1);
      if (index >= 0 && index < shown) {
        // The first entry is the selected one: the punctuation key commits it by itself.
        deferred = index == 0 && k + 1 == lower.size() && punctuationNext;
        if (!deferred) Make(TapKind::kCandidate, 0, index, 0, shown);
        committedAt = index;
        early = true;
        break;
      }
    }
    if (spellingAtOnce) {
      Spell(lower);
      spelled = true;
      deferred = punctuationNext;
      if (!deferred) Make(TapKind::kCommitSpelled, 0, 0, 0, 1);
    } else if (!early) {
      const int count = static_cast<int>(candidates.size()) + 1;
      const int last = count - 1;  // the spelling entry
      const auto found = std::find(candidates.begin(), candidates.end(), lower);
      spelled = found == candidates.end();
      const int target = spelled ? last : static_cast<int>(found - candidates.begin());
      int selected = 0;
      while (!(selected <= target && target < selected + Shown(selected, count))) {
        selected = selected >= last ? 0 : std::min(selected + step_, last);
        Make(TapKind::kNextCandidate);
        state_.lastKey = -1;
      }
      if (spelled) {
        // Selecting the spelling entry (by the tap, or the next-candidate key landing on it)
        // puts the first word in it for a while; spelling starts once that is gone.
        if (selected != target) {
          Make(TapKind::kCandidate, 0, target - selected, 0, Shown(selected, count));
        }
        if (!candidates.empty()) Wait(TapKind::kSpelledCopyWait);
        Spell(lower);
        deferred = punctuationNext;
        if (!deferred) Make(TapKind::kCommitSpelled, 0, 0, 0, Shown(target, count));
      } else {
        committedAt = target;
        deferred = selected == target && punctuationNext;
        if (!deferred) Make(TapKind::kCandidate, 0, target - selected, 0, Shown(selected, count));
      }
    }
    commitDeferred_ = deferred;

    // The commit, by a tap or by the punctuation key that follows.
    if (spelled && options_.addSpelledWords) predictor_->AddUserWord(lower);
    if (options_.learnWords) predictor_->LearnWord(lower);
    if (state_.caseState == 2) state_.caseState = 0;
    state_.autoSpacePending = options_.addSpace;
    spaceOwed_ = options_.addSpace;

    count_.spelled += spelled;
    count_.firstCandidate += committedAt == 0;
    count_.visibleCandidate += early;
    count_.wordTaps += count_.taps - tapsBefore;
    count_.wordCharacters += lower.size() + 1;
  }

  void TypeWordInLetterMode(const WideString& word) {
    if (!options_.letterModeOnly) ++count_.letterModeWords;
    if (state_.wordMode) {
      Make(TapKind::kModeKey);
      state_.wordMode = false;
      state_.caseState = 0;
      state_.lastKey = -1;
    }
    for (char16_t ch : word) {
      const char16_t lower = LowerLetter(ch);
      const bool caseless = Upper(lower) == lower;
      if (ch != lower && Upper(lower) != ch) {
        ++count_.untypable;
        count_.firstUntypable = std::min(count_.firstUntypable, position_);
        continue;
      }
      const int needed = ch != lower ? 1 : 0;
      if (!caseless && state_.caseState != needed) {
        Make(TapKind::kCaseKey);
        state_.caseState = needed;
        state_.lastKey = -1;
      }
      const KeyPlace place = places_.at(lower);
      MultiTap(TapKind::kSpellingKey, place.key, place.index, lower);
      state_.autoSpacePending = false;
    }
    commitDeferred_ = false;
  }

  const KeyMap& map_;
  Predictor* predictor_;
  const ReplayOptions& options_;
  KeypadState& state_;
  TapSink* sink_;
  std::unordered_map<char16_t, KeyPlace> places_;
  int step_ = kVisibleCandidates;
  size_t position_ = 0;  // of the word being typed, in the text
  TapCount count_;
  bool spaceOwed_ = false;       // the output holds a commit's space the text has not used yet
  bool commitDeferred_ = false;  // the word waits for the punctuation key to commit it
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

TapCount ReplayText(WideView text, const KeyMap& map, Predictor* predictor,
                    const ReplayOptions& options, KeypadState& state, TapSink* sink) {
  Replay replay(map, predictor, options, state, sink);
  return replay.Run(WithoutCarriageReturns(text));
}

TapCount ReplayWordMode(WideView text, const KeyMap& map, Predictor& predictor, bool learning,
                        TapSink* sink) {
  ReplayOptions options;
  options.learnWords = options.addSpelledWords = learning;
  KeypadState state;
  return ReplayText(text, map, &predictor, options, state, sink);
}

TapCount ReplayLetterMode(WideView text, const KeyMap& map) {
  ReplayOptions options;
  options.letterModeOnly = true;
  KeypadState state;
  state.wordMode = false;
  return ReplayText(text, map, nullptr, options, state, nullptr);
}

}  // namespace tessaline::evaluation
