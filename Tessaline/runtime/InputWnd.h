// The input window: the child window that fills the soft input panel. It shows one of five
// keypad layouts and turns taps, holds and swipes on it into button events, which the keypad
// composer turns into text (keypad/Composer.h). It carries out what the composer asks for: it
// owns the candidate window, the pressed-key pop-up and the symbols pop-up, runs the timers,
// and hands every character, string and key to the application through the soft input panel's
// callback.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "keypad/Composer.h"
#include "panel/PanelFile.h"
#include "panel/win32/PanelDraw.h"
#include "platform/InputMethod.h"
#include "runtime/CallbackDelivery.h"
#include "system/DataFiles.h"
#include "win32/MessageWindow.h"
#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline {

class KeyMap;
class Language;
class CCandidateWnd;
class CPressedWnd;
class CSymbolPopupWnd;

// Who is told when the view has slid to another layout (the input method object): by then the
// ActiveLayout setting names the new layout; the owner saves the settings, tells the soft input
// panel the new height and resizes the window.
class InputWindowOwner {
 public:
  virtual ~InputWindowOwner() = default;
  virtual void LayoutChanged() = 0;
};

// The five layouts, always in this order: 0 "main", 1 "symbols", 2 "qwerty", 3 "words",
// 4 "userpad".
constexpr int kLayoutCount = 5;
const char* LayoutName(int index);
// The index of a layout name, 0 when it is not one of the five.
int LayoutIndexOf(WideView name);

class CInputWnd : public win32::MessageWindow, private ComposerHost {
 public:
  // Timers of the window.
  static constexpr UINT_PTR kHoldTimer = 1;
  static constexpr UINT_PTR kMultiTapTimer = 2;
  static constexpr UINT_PTR kSlideTimer = 3;

  // Stores the callback (may be null: nothing reaches the application) and the owner (may be
  // null), makes the five empty panels and creates the panel fonts; the current layout is the
  // one the ActiveLayout setting names.
  CInputWnd(IIMCallback* callback, InputWindowOwner* owner);
  ~CInputWnd() override;

  // Creates the window, named "Input window", as a child of parent at that rectangle (parent's
  // client coordinates), style WS_CHILD | WS_VISIBLE: loads the skin and the five layouts of the
  // configured panel file, makes the pop-ups and applies the first active language. Returns the
  // window, or null when it could not be made. With languageAfterPaint, a first language not
  // read yet is read when the thread next looks at its messages (a posted message, which comes
  // before any pen input, after the panel's first paint that Showing's caller makes at once),
  // or at the first pen or timer event before that; until then the keys show the captions of
  // its language file.
  HWND Create(HWND parent, const RECT& rect, bool languageAfterPaint = false);
  // Destroys the window with its pop-ups; the object stays and may be deleted at any time.
  void Destroy() { DestroyWindowNow(); }

  void SetCallback(IIMCallback* callback) { delivery_.SetCallback(callback); }
  // The settings changed (the options closed with OK) and the window stays with its pop-ups:
  // the word in progress goes, the active languages are made anew from the settings (the ones
  // still as their files make them are kept), the skin and the layouts are read again when the
  // panel file, the file on disk or the tint differ from what they were made of, and the layout
  // the settings name, the user buttons and the first language are shown, in the mode and case
  // the window had (a first language to read is read after the paint, as Create says). True
  // when the skin and layouts were read again. The owner gives the window the height of the new
  // layout.
  bool ApplySettings();
  // Drops the word being composed and hides the candidate window and both pop-ups.
  void ResetInput();
  // The candidate window is placed and visible.
  bool CandidatesShown() const { return candidatesShown_; }
  // Places and shows the candidate window again (above the window where it is now).
  void PlaceCandidates();
  // Between words, reads the current language's files again when another writer changed its
  // user dictionary since the language read or wrote it (one look at the file's stamp).
  void RefreshLanguage();
  // A user dictionary that could not be written or read is told of once, when the window is
  // between events (a posted message).
  void TellFailuresLater();
  static constexpr UINT kTellFailuresMessage = WM_APP + 1;
  static constexpr UINT kReadLanguageMessage = WM_APP + 2;
  // The first language is still to be read (Create with languageAfterPaint).
  bool LanguagePending() const { return languagePending_; }

  // The current layout (the target while the view still slides towards it).
  int LayoutIndex() const { return layoutIndex_; }
  const char* CurrentLayoutName() const { return LayoutName(layoutIndex_); }
  // The current language (none before creation, after destruction, or without active languages).
  Language* CurrentLanguage() const { return composer_.CurrentLanguage(); }

  // State, for the input method object and for tests: the composition, the view and the parts.
  const KeypadComposer& Composer() const { return composer_; }
  int ReturnLayout() const { return returnLayout_; }
  float ViewX() const { return viewX_; }
  float ViewY() const { return viewY_; }
  const Panel& PanelAt(int index) const { return panels_[static_cast<size_t>(index)]; }
  const Skin* GetSkin() const { return skin_.get(); }
  const CCandidateWnd* Candidates() const { return candidates_.get(); }
  const CPressedWnd* PressedPopup() const { return pressed_.get(); }
  const CSymbolPopupWnd* SymbolPopup() const { return symbols_.get(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Messages.
  bool OnCreate();
  void OnDestroy();
  void OnSize(int width, int height);
  void OnPaint();
  void OnLButtonDown(POINT point);
  void OnMouseMove(POINT point);
  void OnLButtonUp(POINT point);
  void OnTimer(UINT_PTR id);
  void OnCommand(WORD id, WORD code);
  void OnTellFailures();
  void TakePendingLanguage();
  void OnHoldTimer();
  void OnMultiTapTimer();
  void OnSlideTimer();

  // Buttons and events.
  Panel* PanelOfButton(int id, Panel* preferred);
  KeypadComposer& Keypad();
  void OnButtonTapped(Panel* panel, int id);
  void FireButton(Panel* panel, int id, bool hold);
  void HideCandidates();
  void ShowPressedKey(Panel* panel, int id);

  // What the composer asks of the window.
  void SendText(WideView text) override;
  void SendKey(uint8_t vk) override;
  bool SendKeyScript(WideView script) override;
  WideString UpperCase(WideView text) const override;
  void Pause(unsigned milliseconds) override;
  void Beep() override;
  void CandidatesReplaced(bool shown) override;
  void CandidateSelected(bool copiedFirstWord) override;
  void SpelledChanged() override;
  void CaseChanged(int caseState) override;
  void ModeChanged(bool wordMode) override;
  void LanguageChanged(const Language& language) override;
  void StartMultiTapTimer() override;
  void StopMultiTapTimer() override;
  void StopHoldTimer() override;
  void ShowSymbols() override;
  void HideSymbols() override;
  void InputReset() override;
  bool OpenOptions() override;
  void UserWordsStored() override;

  // Layouts, view and painting.
  void ShowKeyCaptions(const KeyMap& keys);
  // The first active language on the keys, read now or after the paint (languageAfterPaint).
  void ShowFirstLanguage();
  void LoadPanels();
  bool PanelsOutOfDate() const;
  void SetUserButtons();
  void ShowCaseAndMode();
  void SwitchLayout(int target);
  void PlaceLayouts();
  void Redraw(bool full);
  void PaintTo(HDC dc, bool full);
  RECT ScreenRect() const;

  CallbackDelivery delivery_;
  InputWindowOwner* owner_;
  KeypadComposer composer_{*this};
  std::array<Panel, kLayoutCount> panels_;
  std::unique_ptr<Skin> skin_;
  std::unique_ptr<CCandidateWnd> candidates_;
  std::unique_ptr<CPressedWnd> pressed_;
  std::unique_ptr<CSymbolPopupWnd> symbols_;

  int layoutIndex_ = 0;
  int returnLayout_ = 0;
  float viewX_ = 0, viewY_ = 0;
  bool candidatesShown_ = false;
  bool candidatesOpenedEarly_ = false;  // at the pen down, for the first key of a word
  int holdInterval_ = 0;
  uint32_t downTime_ = 0;
  POINT downPoint_{};
  POINT movePoint_{};
  bool* holdTimerStopped_ = nullptr;    // set while a hold fires: whether it stopped the timer
  bool languageAfterPaint_ = false;
  bool languagePending_ = false;

  // The panels' picture, kept for the window's life and made anew only when the size changes.
  win32::BackBuffer backBuffer_;
  win32::Bitmap strip_;
  // What the skin and layouts were made of.
  std::string panelPath_;
  DataFileStamp panelStamp_;
  bool tinted_ = false;
  COLORREF themeColor_ = 0;
};

}  // namespace tessaline
