// The typist: types texts on the device the way a person would, with the real input window of
// the current input method (Tessaline). The taps come from the typing plan (the tap model of
// "tessaline eval", run against a private copy of the device's own language files, so that the
// words offered and learned are the ones the input method offers and learns); the typist then
// makes each tap with the pen: letter keys at the centres of the buttons of the installed panel
// file, candidates in their cells of the real candidate window, symbols in the real symbols
// pop-up, digits on the "symbols" layout after a swipe. After every word it compares the Notes
// text with what the text should show by then, so that a wrong tap is reported where it happens.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "evaluation/TapModel.h"
#include "panel/PanelFile.h"
#include "system/WideText.h"

namespace tessaline {
class Language;
}

namespace tessaline::emulator {

class CDeviceWnd;
class Pen;
class ScriptRunner;
struct PenUpSamples;

// A text and the language it is typed in (empty: the device's first language).
struct TypingText {
  WideString language;
  WideString text;
};

// Makes the languages of the texts the device's active languages (the first text's language
// first, the next different one second) before the input method starts, as a person would in
// the options. False with a message when there are more than two, or Tessaline is not installed.
bool SelectTypingLanguages(const std::vector<TypingText>& texts, std::string& error);

// The candidate window's cell of the j-th entry from the selected one when it shows k entries:
// k equal slots across its width, the selected entry in the middle one of three.
RECT CandidateCell(int width, int height, int k, int j);

class Typist {
 public:
  Typist(CDeviceWnd& device, Pen& pen);
  ~Typist();

  // Plans the texts after those planned before, from the keypad's state they left. With check,
  // the Notes text is compared after every word with the texts planned so far (leave it off when
  // something else moves the caret or edits the text between them). False with a message for a
  // person when a text cannot be typed (a character that no key and no symbol gives, a language
  // the device does not have).
  bool Plan(const std::vector<TypingText>& texts, bool check, std::string& error);
  // Screenshots into this folder: 000-start, NNN before each pick (none: empty).
  void SetShotsFolder(std::wstring folder) { shotsFolder_ = std::move(folder); }
  // Measures, for every letter key in word mode, pen up to the candidate window painted.
  void MeasureInto(PenUpSamples* penUpToPaint) { penUpToPaint_ = penUpToPaint; }
  // Appends the taps and checks planned since the last call to the runner's steps.
  void Queue(ScriptRunner& runner);
  void QueueShot(ScriptRunner& runner, const std::wstring& name);

  // The taps in order, and the taps per character.
  std::string Report() const;
  // The text the Notes box should hold at the end ("\n" line breaks).
  const WideString& Expected() const { return expected_; }

 private:
  enum class Extra { kNone, kLanguageKey, kCheck };
  struct Action {
    evaluation::Tap tap{evaluation::TapKind::kSpaceKey};
    Extra extra = Extra::kNone;
    size_t checkEnd = 0;  // kCheck: the Notes text holds expected_[0, checkEnd), and a space
    bool checkSpace = false;
  };
  class Recorder;

  bool PlanTexts(const std::vector<TypingText>& texts, bool check, std::string& error);
  Language* LoadPlanningLanguage(const WideString& name, std::string& error);
  bool LoadPanels(std::string& error);
  // Where a tap lands, in device pixels; false with the reason.
  bool Locate(const Action& action, POINT& point, std::string& error) const;
  bool ButtonPoint(const Panel& panel, HWND window, int event, char16_t digit, POINT& point) const;
  POINT ToDevice(HWND window, POINT client) const;
  HWND InputWindow() const;

  CDeviceWnd& device_;
  Pen& pen_;
  std::vector<Action> actions_;
  std::map<WideString, std::unique_ptr<Language>> languages_;
  std::string planFolder_;
  Skin skin_;
  Panel main_, symbols_, popup_;
  WideString expected_;
  evaluation::TapCount total_;
  bool prepared_ = false;
  evaluation::ReplayOptions options_;
  evaluation::KeypadState state_;
  WideString firstLanguage_, secondLanguage_, current_;
  size_t queued_ = 0;
  UINT tapMilliseconds_ = 60;  // how long the pen stays down for a tap
  PenUpSamples* penUpToPaint_ = nullptr;
  bool onSymbolsLayout_ = false;  // while the queued taps run
  std::wstring shotsFolder_;
  int shots_ = 0;
};

}  // namespace tessaline::emulator
