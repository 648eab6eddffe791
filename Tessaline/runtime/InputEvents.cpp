// The input window's side of the keypad: which button a tap or hold fired, and what the composer
// asks of the window (delivery, timers, the candidate window, the case and mode keys, the
// language's captions, the pop-ups).
#include <algorithm>

#include "engine/Language.h"
#include "engine/UserDictionaryFile.h"
#include "keypad/ButtonEvents.h"
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

using namespace keypad;

// The 25 keys whose captions the language gives.
constexpr int kCaptionedKeys[] = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  101, 102, 103,
                                  104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115};

constexpr UINT kMultiTapMilliseconds = 1000;

WideString CaptionOf(const Button& button, int cell) {
  const auto found = button.captions.find(static_cast<uint8_t>(cell));
  return found == button.captions.end() ? WideString() : found->second;
}

}  // namespace

// ---------------------------------------------------------------- firing buttons

Panel* CInputWnd::PanelOfButton(int id, Panel* preferred) {
  // The panel whose pen input fired the button first; a tap from elsewhere (a tap in the
  // candidate window stands for the commit button) goes to the current layout, else to any
  // layout that has the button.
  if (preferred && preferred->FindButton(id)) return preferred;
  Panel& current = panels_[static_cast<size_t>(layoutIndex_)];
  if (current.FindButton(id)) return &current;
  for (Panel& panel : panels_) {
    if (panel.FindButton(id)) return &panel;
  }
  return nullptr;
}

KeypadComposer& CInputWnd::Keypad() {
  const Settings& settings = GetSettings();
  composer_.SetOptions(
      ComposerOptions{settings.AddSpace != 0, settings.AdaptiveVoc != 0, CandidateStep(),
                      settings.TruncWords});
  return composer_;
}

void CInputWnd::OnButtonTapped(Panel* panel, int id) {
  if (!skin_) return;  // a late tap after the window's parts were freed
  FireButton(panel, id, false);
}

void CInputWnd::FireButton(Panel* panel, int id, bool hold) {
  Panel* owner = PanelOfButton(id, panel);
  const Button* button = owner ? owner->FindButton(id) : nullptr;
  if (!button) return;
  Keypad().Fire(ButtonPress{button->event0, button->event1, CaptionOf(*button, 0),
                            CaptionOf(*button, 1), hold});
}

void CInputWnd::ShowPressedKey(Panel* panel, int id) {
  if (!pressed_) return;
  const Button* button = panel->FindButton(id);
  const int tap = button ? button->event0 : -1;
  if (composer_.ShowsLetters(tap)) {
    pressed_->Show(panel, id, composer_.NextLetterIndex(tap));  // the letter the next tap gives
  } else if (GetSettings().ShowHint) {
    pressed_->Show(panel, id, -1);
  }
}

void CInputWnd::ResetInput() { composer_.Reset(); }

void CInputWnd::RefreshLanguage() { composer_.RefreshLanguage(); }

// ---------------------------------------------------------------- delivery

void CInputWnd::SendText(WideView text) { delivery_.SendString(text.data(), text.size()); }

void CInputWnd::SendKey(uint8_t vk) {
  delivery_.SendVirtualKey(vk, false);
  delivery_.SendVirtualKey(vk, true);
}

bool CInputWnd::SendKeyScript(WideView script) {
  const WideString compiled = CompileKeyScript(script);
  if (compiled.empty()) return false;
  tessaline::SendKeyScript(compiled, delivery_);
  return true;
}

WideString CInputWnd::UpperCase(WideView text) const { return tessaline::UpperCase(text); }

void CInputWnd::Pause(unsigned milliseconds) { RuntimePause(milliseconds); }

void CInputWnd::Beep() { DefaultBeep(); }

// ---------------------------------------------------------------- candidates

void CInputWnd::CandidatesReplaced(bool shown) {
  if (candidates_) candidates_->ListReplaced();
  if (shown) {
    PlaceCandidates();
  } else {
    HideCandidates();
  }
}

void CInputWnd::CandidateSelected(bool copiedFirstWord) {
  if (candidates_) candidates_->SelectionChanged(copiedFirstWord);
}

void CInputWnd::SpelledChanged() {
  if (candidates_) candidates_->SpelledChanged();
}

void CInputWnd::HideCandidates() {
  if (candidates_) candidates_->Place(nullptr);
  candidatesShown_ = false;
}

void CInputWnd::PlaceCandidates() {
  if (!candidates_ || !Handle()) return;
  const RECT r = ScreenRect();
  candidates_->Place(&r);
  candidatesShown_ = true;
}

// ---------------------------------------------------------------- case, mode, language

void CInputWnd::CaseChanged(int caseState) {
  static const char16_t* const kCaptions[3] = {u":abc0:", u":abc1:", u":abc2:"};
  for (Panel& panel : panels_) {
    if (Button* button = panel.FindButton(kCaseButtonId))
      button->frame = static_cast<int16_t>(caseState);
    panel.SetCaption(kCaseButtonId, 0, kCaptions[std::clamp(caseState, 0, 2)]);
  }
  if (candidates_) candidates_->SetCaseState(caseState);
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void CInputWnd::ModeChanged(bool wordMode) {
  for (Panel& panel : panels_) {
    if (Button* button = panel.FindButton(kModeButtonId)) button->frame = wordMode ? 1 : 0;
    panel.SetCaption(kModeButtonId, 0, wordMode ? u":t91:" : u":t90:");
  }
}

void CInputWnd::ShowCaseAndMode() {
  CaseChanged(composer_.CaseState());
  ModeChanged(composer_.WordMode());
}

void CInputWnd::LanguageChanged(const Language& language) { ShowKeyCaptions(language.Keys()); }

void CInputWnd::ShowKeyCaptions(const KeyMap& keys) {
  for (int key : kCaptionedKeys) {
    const WideString caption = keys.KeyCaption(key);
    for (Panel& panel : panels_) panel.SetCaption(key, 0, caption);
  }
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
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
    pad.SetCaption(kFirstUserButtonId + i, 0, whole ? entry : entry.substr(split + 1));
    pad.SetCaption(kFirstUserButtonId + i, 1, whole ? entry : entry.substr(0, split));
    at = end + 1;
  }
  for (; i < kUserButtonCount; ++i) {
    pad.SetCaption(kFirstUserButtonId + i, 0, u"");
    pad.SetCaption(kFirstUserButtonId + i, 1, u"");
  }
}

void CInputWnd::UserWordsStored() { TellFailuresLater(); }

// ---------------------------------------------------------------- timers

void CInputWnd::StartMultiTapTimer() {
  SetTimer(Handle(), kMultiTapTimer, kMultiTapMilliseconds, nullptr);
}

void CInputWnd::StopMultiTapTimer() { KillTimer(Handle(), kMultiTapTimer); }

void CInputWnd::StopHoldTimer() {
  if (Handle()) KillTimer(Handle(), kHoldTimer);
  if (holdTimerStopped_) *holdTimerStopped_ = true;
}

// ---------------------------------------------------------------- pop-ups

void CInputWnd::ShowSymbols() {
  if (!symbols_) return;
  const Language* language = composer_.CurrentLanguage();
  symbols_->Show(language ? WideView(language->Name()) : WideView());
  EnableWindow(Handle(), FALSE);
}

void CInputWnd::HideSymbols() {
  if (symbols_) symbols_->Hide();
  // The window is usable again whenever the pop-up is gone, also when the input is reset while
  // the pop-up was up.
  if (Handle()) EnableWindow(Handle(), TRUE);
}

void CInputWnd::InputReset() {
  HideSymbols();
  if (pressed_) pressed_->Hide();
}

bool CInputWnd::OpenOptions() {
  // The sheet is modal: while it is open the soft input panel may take this window away.
  const LifeToken token = Token();
  tessaline::OpenOptions(Handle());
  return token.Alive();
}

}  // namespace tessaline
