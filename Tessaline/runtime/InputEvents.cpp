// What the input window does with the buttons' events: letters and words, committing, case and
// mode, the symbols pop-up, languages, and the pressed-key pop-up.
#include <algorithm>

#include "engine/ActiveLanguages.h"
#include "engine/Language.h"
#include "engine/UserDictionaryFile.h"
#include "options/OpenOptions.h"
#include "runtime/CandidateWnd.h"
#include "runtime/InputWnd.h"
#include "runtime/PressedWnd.h"
#include "runtime/RuntimeSeams.h"
#include "runtime/SymbolPopupWnd.h"
#include "runtime/TextCase.h"
#include "settings/Settings.h"

namespace tessaline {
namespace {

// Event codes of the panels' buttons.
enum Event : int {
  kTypeCaption = 0,
  kEnter = 11,
  kBackspace = 12,
  kSymbols = 13,
  kCase = 14,
  kMode = 15,
  kNextCandidate = 16,
  kKeyScript = 20,
  kCloseSymbols = 300,
  kOptions = 301,
  kNextLanguage = 302,
  kFirstSymbol = 400,
  kLastSymbol = 431,
};

// How an event treats a word being composed: 0 carried out as it is, 1 skipped, 2 commits the
// word instead, 3 commits the word and then is carried out.
int EventClass(int event) {
  switch (event) {
    case kTypeCaption:
      return 1;
    case kEnter:
      return 2;
    case kSymbols:
    case kKeyScript:
      return 3;
    default:
      return 0;
  }
}

bool IsLetterKey(int event) {
  return (event >= 1 && event <= 10) || (event >= 101 && event <= 150);
}

// The 25 keys whose captions the language gives.
constexpr int kCaptionedKeys[] = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  101, 102, 103,
                                  104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115};

// The characters that take the place of a committed word's trailing space.
constexpr char16_t kSpaceEaters[] = u".,!?:;')_";

constexpr unsigned kAfterCommitPause = 10;
constexpr UINT kMultiTapMilliseconds = 1000;
constexpr int kFirstUserButton = 30;
constexpr int kUserButtonCount = 16;
constexpr int kCaseButton = 14;
constexpr int kModeButton = 15;

WideString CaptionOf(const Button* button, int cell) {
  if (!button) return {};
  const auto found = button->captions.find(static_cast<uint8_t>(cell));
  return found == button->captions.end() ? WideString() : found->second;
}

}  // namespace

bool CInputWnd::SpellingMode() const { return candidates_ && candidates_->SpellingMode(); }

bool CInputWnd::Composing() const { return search_.State() != 0 || SpellingMode(); }

// ---------------------------------------------------------------- firing buttons

Panel* CInputWnd::PanelOfButton(int id) {
  // The panel whose pen input sent the command first; a command from elsewhere (a tap in the
  // candidate window stands for button 11) goes to the current layout, else to any layout that
  // has the button.
  if (notifyingPanel_ && notifyingPanel_->FindButton(id)) return notifyingPanel_;
  Panel& current = panels_[static_cast<size_t>(layoutIndex_)];
  if (current.FindButton(id)) return &current;
  for (Panel& panel : panels_) {
    if (panel.FindButton(id)) return &panel;
  }
  return nullptr;
}

void CInputWnd::FireButton(int id, bool hold) {
  Panel* panel = PanelOfButton(id);
  const Button* button = panel ? panel->FindButton(id) : nullptr;
  if (!button) return;
  int event = button->event0;
  bool holdEventUsed = false;
  if (hold && button->event1 >= 0 && !(Composing() && EventClass(button->event1) == 1)) {
    event = button->event1;
    holdEventUsed = true;
  }
  if (Composing()) {
    switch (EventClass(event)) {
      case 1:
        lastButton_ = id;
        return;
      case 2:
        CommitWord();
        lastButton_ = id;
        return;
      case 3:
        CommitWord();
        RuntimePause(kAfterCommitPause);
        break;
      default:
        break;
    }
  }
  const LifeToken token = Token();
  CarryOut(event, button, holdEventUsed, hold);
  if (token.Alive()) lastButton_ = id;
}

void CInputWnd::CarryOut(int event, const Button* button, bool holdEventUsed, bool fromHold) {
  const int cell = holdEventUsed ? 1 : 0;
  if (IsLetterKey(event)) {
    KeyPress(event);
  } else if (event >= kFirstSymbol && event <= kLastSymbol) {
    TypeChar(PopupSymbol(event - kFirstSymbol));
  } else {
    switch (event) {
      case kTypeCaption: {
        const WideString caption = CaptionOf(button, cell);
        if (!caption.empty()) TypeChar(caption.front());
        holdFired_ = true;
        delivery_.SetAutoSpacePending(false);
        DefaultBeep();
        lastEvent_ = kNoEvent;
        return;
      }
      case kEnter:
        delivery_.SendKey(kVkReturn);
        break;
      case kBackspace:
        if (SpellingMode() || !wordMode_ || search_.State() == 0) {
          delivery_.SendBackspaces(1);
        } else {
          KeyPress(-1);
        }
        break;
      case kSymbols:
        if (!fromHold) ShowSymbols();
        break;
      case kCase:
        StopHoldTimer();
        holdFired_ = false;
        CycleCase();
        break;
      case kMode:
        StopHoldTimer();
        holdFired_ = false;
        ToggleMode();
        break;
      case kNextCandidate:
        if (wordMode_) NextCandidate();
        break;
      case kKeyScript: {
        const WideString script = CaptionOf(button, cell);
        if (!script.empty()) delivery_.SendKeyScript(script);
        break;
      }
      case kCloseSymbols:
        HideSymbols();
        break;
      case kOptions: {
        // The sheet is modal: while it is open the soft input panel may take this window away.
        const LifeToken token = Token();
        OpenOptions(Handle());
        if (!token.Alive()) return;
        break;
      }
      case kNextLanguage:
        NextLanguage();
        break;
      default:
        break;
    }
  }
  lastEvent_ = event;
}

// ---------------------------------------------------------------- letters and words

void CInputWnd::KeyPress(int key) {
  const bool punctuation = language_ && key > 0 && language_->KeyHasPunctuation(key);
  if (punctuation) CommitWord();
  if (!SpellingMode() && wordMode_ && !punctuation) {
    KillTimer(Handle(), kMultiTapTimer);
    // The first key of a word: a user dictionary that another writer changed since is read
    // again before any candidate is offered.
    if (search_.State() == 0) RefreshLanguage();
    // The word search holds keys as small signed numbers: codes above 127 cannot be among them
    // (and must not turn into -1, which takes a key away); such a key adds nothing.
    search_.SetTruncateWords(GetSettings().TruncWords);
    if (key <= 127) search_.PressKey(static_cast<int8_t>(key));
    std::vector<WideString> list;
    search_.GetCandidates(list);
    list.emplace_back();
    if (candidates_) {
      candidates_->SetList(std::move(list), search_.KeyCount());
      candidates_->SetNoMatch(search_.State() == WordSearch::kBlocked);
    }
    if (search_.State() != 0) {
      PlaceCandidates();
    } else {
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
    SetTimer(Handle(), kMultiTapTimer, kMultiTapMilliseconds, nullptr);
    if (wordMode_ && !SpellingMode()) {
      if (delivery_.AutoSpacePending()) delivery_.SendBackspaces(1);
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

void CInputWnd::OutputChar(char16_t ch, bool replace) {
  if (SpellingMode()) {
    if (ch < u'A') return;
    if (replace) candidates_->RemoveLastSpelled();
    candidates_->AppendSpelled(ch);
    return;
  }
  if (replace) delivery_.SendBackspaces(1);
  if (caseState_ != 0) ch = UpperCase(ch);
  delivery_.SendText(WideView(&ch, 1));
}

void CInputWnd::TypeChar(char16_t ch) {
  CommitWord();
  if (delivery_.AutoSpacePending() && WideView(kSpaceEaters).find(ch) != WideView::npos) {
    delivery_.SendBackspaces(1);
  }
  delivery_.SetAutoSpacePending(false);
  RuntimePause(kAfterCommitPause);
  OutputChar(ch, false);
}

void CInputWnd::CommitWord() {
  if (!wordMode_ || search_.State() == 0 || !candidates_) return;
  const bool spelling = candidates_->SpellingMode();
  WideString word = candidates_->CurrentWord();
  if (!word.empty()) {
    if (language_) {
      const bool added = spelling && language_->AddUserWord(word);
      if (added) DefaultBeep();
      // Learning writes the user dictionary's edits, the spelled word's too. Otherwise they are
      // written here, with any that a failed write left: the next commit tries again.
      const bool learned = GetSettings().AdaptiveVoc && language_->LearnWord(word);
      if (!learned) language_->StoreUserDictionary();
      TellFailuresLater();
    }
    if (caseState_ == 1) {
      word = UpperCase(word);
    } else if (caseState_ == 2) {
      word = ApplyCaseState(word, 2);
      CycleCase();
    }
    delivery_.SendText(word + u" ");
    delivery_.SetAutoSpacePending(true);
    if (!GetSettings().AddSpace) delivery_.SendBackspaces(1);
  }
  HideCandidates();
  search_.Reset();
}

void CInputWnd::SpellingBackspace() {
  if (candidates_ && candidates_->RemoveLastSpelled()) return;
  // Nothing left to take back: the word being composed is given up.
  CommitWord();
}

void CInputWnd::NextCandidate() {
  if (candidates_ && candidates_->Count() > 0) candidates_->Select(candidates_->NextIndex());
}

void CInputWnd::HideCandidates() {
  if (candidates_) {
    candidates_->SetList({}, 0);
    candidates_->Place(nullptr);
  }
  candidatesShown_ = false;
}

void CInputWnd::PlaceCandidates() {
  if (!candidates_ || !Handle()) return;
  const RECT r = ScreenRect();
  candidates_->Place(&r);
  candidatesShown_ = true;
}

void CInputWnd::ResetInput() {
  HideCandidates();
  search_.Reset();
  delivery_.SetAutoSpacePending(false);
  HideSymbols();
  if (pressed_) pressed_->Hide();
}

// ---------------------------------------------------------------- case, mode, language

void CInputWnd::SetCaseState(int caseState) {
  caseState_ = caseState;
  static const char16_t* const kCaptions[3] = {u":abc0:", u":abc1:", u":abc2:"};
  for (Panel& panel : panels_) {
    if (Button* button = panel.FindButton(kCaseButton))
      button->frame = static_cast<int16_t>(caseState);
    panel.SetCaption(kCaseButton, 0, kCaptions[std::clamp(caseState, 0, 2)]);
  }
  if (candidates_) candidates_->SetCaseState(caseState);
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void CInputWnd::CycleCase() {
  int next = caseState_ + 1;
  if (next >= (wordMode_ ? 3 : 2)) next = 0;
  SetCaseState(next);
}

void CInputWnd::ToggleMode() {
  CommitWord();
  wordMode_ = !wordMode_;
  for (Panel& panel : panels_) {
    if (Button* button = panel.FindButton(kModeButton)) button->frame = wordMode_ ? 1 : 0;
    panel.SetCaption(kModeButton, 0, wordMode_ ? u":t91:" : u":t90:");
  }
  // The cycle below lands on "capital for the next word" in word mode, on lower case in letter
  // mode.
  caseState_ = 1;
  CycleCase();
}

void CInputWnd::ShowCaseAndMode() {
  SetCaseState(caseState_);
  for (Panel& panel : panels_) {
    if (Button* button = panel.FindButton(kModeButton)) button->frame = wordMode_ ? 1 : 0;
    panel.SetCaption(kModeButton, 0, wordMode_ ? u":t91:" : u":t90:");
  }
}

void CInputWnd::SetUserButtons() {
  // Entries are separated by U+0001; in each, U+0002 parts the label from the key script. At
  // most 16 entries have a button; the rest of the setting is left unread.
  const WideString buttons = SettingsText(GetSettings().Buttons);
  Panel& pad = panels_[4];
  size_t at = 0;
  int i = 0;
  for (; i < kUserButtonCount && at < buttons.size(); ++i) {
    const size_t end = std::min(buttons.find(u'\u0001', at), buttons.size());
    const WideString entry = buttons.substr(at, end - at);
    const size_t split = entry.find(u'\u0002');
    const bool whole = split == WideString::npos;
    pad.SetCaption(kFirstUserButton + i, 0, whole ? entry : entry.substr(split + 1));
    pad.SetCaption(kFirstUserButton + i, 1, whole ? entry : entry.substr(0, split));
    at = end + 1;
  }
  for (; i < kUserButtonCount; ++i) {
    pad.SetCaption(kFirstUserButton + i, 0, u"");
    pad.SetCaption(kFirstUserButton + i, 1, u"");
  }
}

void CInputWnd::ApplyLanguage(Language* language) {
  // User words of the language left behind that could not be saved get one more try.
  if (language_ && language_ != language) CommitAllPendingUserEdits();
  language_ = language;
  search_.SetLanguage(language);
  if (!language) return;
  for (int key : kCaptionedKeys) {
    const WideString caption = language->KeyCaption(key);
    for (Panel& panel : panels_) panel.SetCaption(key, 0, caption);
  }
}

void CInputWnd::NextLanguage() {
  const size_t count = ActiveLanguageCount();
  if (count < 2) return;
  ResetInput();
  languageIndex_ = static_cast<int>((static_cast<size_t>(languageIndex_) + 1) % count);
  ApplyLanguage(&ActiveLanguage(static_cast<size_t>(languageIndex_)));
  RefreshLanguage();
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void CInputWnd::RefreshLanguage() {
  // Only between words: the search holds entries of the vocabulary it reads.
  if (!language_ || Composing()) return;
  if (!language_->RefreshFromFiles()) return;
  ApplyLanguage(language_);
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

// ---------------------------------------------------------------- pop-ups

void CInputWnd::ShowSymbols() {
  if (!symbols_) return;
  symbols_->Show(language_ ? WideView(language_->Name()) : WideView());
  EnableWindow(Handle(), FALSE);
}

void CInputWnd::HideSymbols() {
  if (symbols_) symbols_->Hide();
  // The window is usable again whenever the pop-up is gone, also when the input is reset while
  // the pop-up was up.
  if (Handle()) EnableWindow(Handle(), TRUE);
}

void CInputWnd::ShowPressedKey(int id) {
  if (!pressed_) return;
  Panel* panel = PanelOfButton(id);
  const Button* button = panel ? panel->FindButton(id) : nullptr;
  const int tap = button ? button->event0 : -1;
  if ((SpellingMode() || !wordMode_) && IsLetterKey(tap)) {
    // The letter the next tap would give.
    int highlight = 0;
    if (language_ && lastEvent_ == tap && pendingChar_ != 0 && language_->KeyLetterCount(tap) > 1) {
      highlight = std::max(
          0, language_->LetterIndexOnKey(tap, language_->NextLetterOnKey(tap, pendingChar_)));
    }
    pressed_->Show(panel, id, highlight);
  } else if (GetSettings().ShowHint) {
    pressed_->Show(panel, id, -1);
  }
}

}  // namespace tessaline
