#include "keypad/Composer.h"

#include <algorithm>

#include "engine/ActiveLanguages.h"
#include "engine/Language.h"
#include "engine/UserDictionaryFile.h"

namespace tessaline {
namespace {

using namespace keypad;

// How an event treats a word being composed.
enum class WhileComposing { kCarriedOut, kSkipped, kCommitsInstead, kCommitsFirst };

WhileComposing EventClass(int event) {
  switch (event) {
    case kTypeCaption:
      return WhileComposing::kSkipped;
    case kEnter:
      return WhileComposing::kCommitsInstead;
    case kSymbols:
    case kKeyScript:
      return WhileComposing::kCommitsFirst;
    default:
      return WhileComposing::kCarriedOut;
  }
}

// The characters that take the place of a committed word's trailing space.
constexpr char16_t kSpaceEaters[] = u".,!?:;')_";

constexpr unsigned kAfterCommitPause = 10;

}  // namespace

// ---------------------------------------------------------------- events

bool KeypadComposer::Fire(const ButtonPress& press) {
  if (!press.hold && holdFired_) return true;
  int event = press.tapEvent;
  bool holdEventUsed = false;
  if (press.hold && press.holdEvent >= 0 &&
      !(Composing() && EventClass(press.holdEvent) == WhileComposing::kSkipped)) {
    event = press.holdEvent;
    holdEventUsed = true;
  }
  if (Composing()) {
    switch (EventClass(event)) {
      case WhileComposing::kSkipped:
        return true;
      case WhileComposing::kCommitsInstead:
        CommitWord();
        return true;
      case WhileComposing::kCommitsFirst:
        CommitWord();
        host_.Pause(kAfterCommitPause);
        break;
      case WhileComposing::kCarriedOut:
        break;
    }
  }
  return CarryOut(event, holdEventUsed ? press.holdText : press.tapText, press.hold);
}

bool KeypadComposer::CarryOut(int event, const WideString& text, bool fromHold) {
  if (IsLetterKey(event)) {
    KeyPress(event);
  } else if (event >= kFirstSymbol && event <= kLastSymbol) {
    TypeChar(PopupSymbol(event - kFirstSymbol));
  } else {
    switch (event) {
      case kTypeCaption:
        if (!text.empty()) TypeChar(text.front());
        holdFired_ = true;
        autoSpacePending_ = false;
        host_.Beep();
        lastEvent_ = kNoEvent;
        return true;
      case kEnter:
        SendKey(kVkReturn);
        break;
      case kBackspace:
        if (SpellingMode() || !wordMode_ || search_.State() == 0) {
          SendBackspaces(1);
        } else {
          KeyPress(-1);
        }
        break;
      case kSymbols:
        if (!fromHold) host_.ShowSymbols();
        break;
      case kCase:
        host_.StopHoldTimer();
        holdFired_ = false;
        CycleCase();
        break;
      case kMode:
        host_.StopHoldTimer();
        holdFired_ = false;
        ToggleMode();
        break;
      case kNextCandidate:
        if (wordMode_) NextCandidate();
        break;
      case kKeyScript:
        if (!text.empty()) SendKeyScript(text);
        break;
      case kCloseSymbols:
        host_.HideSymbols();
        break;
      case kOptions:
        if (!host_.OpenOptions()) return false;
        break;
      case kNextLanguage:
        NextLanguage();
        break;
      default:
        break;
    }
  }
  lastEvent_ = event;
  return true;
}

// ---------------------------------------------------------------- letters and words

void KeypadComposer::KeyPress(int key) {
  const bool punctuation = language_ && key > 0 && language_->KeyHasPunctuation(key);
  if (punctuation) CommitWord();
  if (!SpellingMode() && wordMode_ && !punctuation) {
    host_.StopMultiTapTimer();
    // The first key of a word: a user dictionary that another writer changed since is read
    // again before any candidate is offered.
    if (search_.State() == 0 && !languageChecked_) RefreshLanguage();
    // The word search holds keys as small signed numbers: codes above 127 cannot be among them
    // (and must not turn into -1, which takes a key away); such a key adds nothing.
    search_.SetTruncateWords(options_.truncateWords);
    if (key <= 127) search_.PressKey(static_cast<int8_t>(key));
    if (search_.State() != 0) {
      std::vector<WideString> list;
      search_.GetCandidates(list);
      list.emplace_back();
      candidates_.SetList(std::move(list), search_.KeyCount());
      candidates_.SetNoMatch(search_.State() == WordSearch::kBlocked);
      host_.CandidatesReplaced(true);
    } else {
      candidates_.SetNoMatch(false);
      HideCandidates();
    }
    pendingChar_ = 0;
    return;
  }

  char16_t ch = 0;
  bool replace = false;
  if (language_) {
    if (lastEvent_ == key && pendingChar_ != 0 && language_->KeyLetterCount(key) > 1) {
      ch = language_->NextLetterOnKey(key, pendingChar_);
      replace = true;
    } else {
      ch = language_->NextLetterOnKey(key, 0xFFFF);
    }
  }
  if (ch != 0) {
    host_.StartMultiTapTimer();
    if (wordMode_ && !SpellingMode()) {
      if (autoSpacePending_) SendBackspaces(1);
      if (punctuation && caseState_ != 1) {
        if (ch == u'.' || ch == u'!' || ch == u'?') {
          SetCaseState(2);
        } else if (ch != u' ') {
          SetCaseState(0);
        }
      }
    }
  }
  pendingChar_ = ch;
  if (ch != 0) OutputChar(ch, replace);
}

void KeypadComposer::OutputChar(char16_t ch, bool replace) {
  if (SpellingMode()) {
    if (ch < u'A') return;
    if (replace) candidates_.RemoveLastSpelled();
    candidates_.AppendSpelled(ch);
    host_.SpelledChanged();
    return;
  }
  if (replace) SendBackspaces(1);
  if (caseState_ != 0) ch = Upper(ch);
  SendText(WideView(&ch, 1));
}

void KeypadComposer::TypeChar(char16_t ch) {
  CommitWord();
  if (autoSpacePending_ && WideView(kSpaceEaters).find(ch) != WideView::npos) SendBackspaces(1);
  autoSpacePending_ = false;
  host_.Pause(kAfterCommitPause);
  OutputChar(ch, false);
}

void KeypadComposer::CommitWord() {
  if (!wordMode_ || search_.State() == 0) return;
  const bool spelling = candidates_.SpellingMode();
  WideString word = candidates_.CurrentWord();
  if (!word.empty()) {
    if (language_) {
      const bool added = spelling && language_->AddUserWord(word);
      if (added) host_.Beep();
      // Learning writes the user dictionary's edits, the spelled word's too. Otherwise they are
      // written here, with any that a failed write left: the next commit tries again.
      const bool learned = options_.adaptiveVoc && language_->LearnWord(word);
      if (!learned) language_->StoreUserDictionary();
      host_.UserWordsStored();
    }
    if (caseState_ == 1) {
      word = host_.UpperCase(word);
    } else if (caseState_ == 2) {
      word[0] = Upper(word[0]);
      CycleCase();
    }
    SendText(word + u" ");
    autoSpacePending_ = true;
    if (!options_.addSpace) SendBackspaces(1);
  }
  HideCandidates();
  search_.Reset();
}

void KeypadComposer::SpellingBackspace() {
  const bool removed = candidates_.RemoveLastSpelled();
  host_.SpelledChanged();
  if (removed) return;
  // Nothing left to take back: the word being composed is given up.
  CommitWord();
}

void KeypadComposer::NextCandidate() {
  if (candidates_.Count() == 0) return;
  const bool copied = candidates_.Select(candidates_.NextIndex(options_.candidateStep));
  host_.CandidateSelected(copied);
}

void KeypadComposer::HideCandidates() {
  candidates_.SetList({}, 0);
  host_.CandidatesReplaced(false);
}

void KeypadComposer::Reset() {
  HideCandidates();
  search_.Reset();
  autoSpacePending_ = false;
  host_.InputReset();
}

char16_t KeypadComposer::Upper(char16_t ch) const {
  const WideString upper = host_.UpperCase(WideView(&ch, 1));
  return upper.empty() ? ch : upper[0];
}

// ---------------------------------------------------------------- delivery

void KeypadComposer::SendKey(uint8_t vk) {
  if (SpellingMode()) {
    if (vk == kVkBack) SpellingBackspace();
  } else {
    host_.SendKey(vk);
  }
  autoSpacePending_ = false;
}

void KeypadComposer::SendBackspaces(int n) {
  if (n > 0) autoSpacePending_ = false;
  for (int i = 0; i < n; ++i) SendKey(kVkBack);
}

void KeypadComposer::SendText(WideView text) {
  host_.SendText(text);
  autoSpacePending_ = false;
}

void KeypadComposer::SendKeyScript(WideView script) {
  if (host_.SendKeyScript(script)) autoSpacePending_ = false;
}

// ---------------------------------------------------------------- case and mode

void KeypadComposer::SetCaseState(int caseState) {
  caseState_ = caseState;
  host_.CaseChanged(caseState);
}

void KeypadComposer::CycleCase() {
  int next = caseState_ + 1;
  if (next >= (wordMode_ ? 3 : 2)) next = 0;
  SetCaseState(next);
}

void KeypadComposer::ToggleMode() {
  CommitWord();
  wordMode_ = !wordMode_;
  host_.ModeChanged(wordMode_);
  // The cycle below lands on "capital for the next word" in word mode, on lower case in letter
  // mode.
  caseState_ = 1;
  CycleCase();
}

// ---------------------------------------------------------------- languages

void KeypadComposer::ApplyLanguage(Language* language) {
  // User words of the language left behind that could not be saved get one more try.
  if (language_ && language_ != language) CommitAllPendingUserEdits();
  language_ = language;
  search_.SetLanguage(language);
  if (language) host_.LanguageChanged(*language);
}

void KeypadComposer::UseFirstLanguage() {
  languageIndex_ = 0;
  if (ActiveLanguageCount() >= 1) ApplyLanguage(&ActiveLanguage(0));
}

void KeypadComposer::NextLanguage() {
  const size_t count = ActiveLanguageCount();
  if (count < 2) return;
  Reset();
  languageIndex_ = static_cast<int>((static_cast<size_t>(languageIndex_) + 1) % count);
  ApplyLanguage(&ActiveLanguage(static_cast<size_t>(languageIndex_)));
  RefreshLanguage();
}

void KeypadComposer::RefreshLanguage() {
  // Only between words: the search holds entries of the vocabulary it reads.
  if (!language_ || Composing()) return;
  if (!language_->RefreshFromFiles()) return;
  ApplyLanguage(language_);
}

void KeypadComposer::DropLanguage() {
  candidates_.SetList({}, 0);
  search_.SetLanguage(nullptr);
  language_ = nullptr;
}

// ---------------------------------------------------------------- the pressed-key pop-up

void KeypadComposer::CheckLanguageBeforeWord() {
  RefreshLanguage();
  languageChecked_ = true;
}

bool KeypadComposer::SearchesOnTap(int tapEvent) const {
  return IsLetterKey(tapEvent) && wordMode_ && !SpellingMode() && language_ &&
         !(tapEvent > 0 && language_->KeyHasPunctuation(tapEvent));
}

bool KeypadComposer::ShowsLetters(int tapEvent) const {
  return (SpellingMode() || !wordMode_) && IsLetterKey(tapEvent);
}

int KeypadComposer::NextLetterIndex(int key) const {
  if (!language_ || lastEvent_ != key || pendingChar_ == 0 || language_->KeyLetterCount(key) <= 1)
    return 0;
  return std::max(0,
                  language_->LetterIndexOnKey(key, language_->NextLetterOnKey(key, pendingChar_)));
}

}  // namespace tessaline
