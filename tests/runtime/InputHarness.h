// Drives the real input window under Wine the way a person does: pen messages at the pixel
// centres of the shipped panels' buttons (found through the panel reader), timers fired by the
// test, the millisecond clock and the pauses injected, and a recording callback in place of the
// soft input panel. The installation folder is a temporary copy of the shipped English and
// German languages and panels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "RecordingCallback.h"
#include "runtime/InputWnd.h"
#include "runtime/LayoutPlane.h"
#include "settings/Settings.h"
#include "support/TestFiles.h"

namespace tessaline::testing {

struct HarnessOptions {
  // Language1 = German as well as Language0 = English.
  bool german = false;
  // Changes to the settings before the languages load and the window is made.
  std::function<void(Settings&)> settings;
  // Text of a panel file to use in place of the shipped compact_white.pan.
  std::string panelFile;
  // The window made as Showing makes it: the first language read after the first paint.
  bool languageAfterPaint = false;

  static HarnessOptions WithGerman() {
    HarnessOptions options;
    options.german = true;
    return options;
  }
  static HarnessOptions WithSettings(std::function<void(Settings&)> change) {
    HarnessOptions options;
    options.settings = std::move(change);
    return options;
  }
  static HarnessOptions WithPanelFile(std::string text) {
    HarnessOptions options;
    options.panelFile = std::move(text);
    return options;
  }
};

// The input method object's part: resizes the window to the new layout's panel height.
class LayoutOwner : public InputWindowOwner {
 public:
  void LayoutChanged() override;
  CInputWnd* window = nullptr;
  HWND sip = nullptr;
  int changes = 0;
};

class InputHarness {
 public:
  explicit InputHarness(HarnessOptions options = {});
  ~InputHarness();
  InputHarness(const InputHarness&) = delete;
  InputHarness& operator=(const InputHarness&) = delete;

  CInputWnd& Window() { return *window_; }
  // Deletes the window object, as the input method object does on Deselect.
  void DeleteWindow() { window_.reset(); }
  bool HasWindow() const { return window_ != nullptr; }
  HWND Sip() const { return sip_; }
  HWND Handle() const { return window_->Handle(); }
  RecordingCallback& Callback() { return callback_; }
  const std::vector<std::string>& Calls() const { return callback_.Calls(); }
  std::u16string Typed() const { return callback_.Typed(); }
  void ClearCalls() { callback_.Clear(); }
  // Device path of the installation folder and the host path of a file in it.
  std::string HostFile(const std::string& relative) const;
  TempDir& Folder() { return folder_; }

  // A person's actions on the current layout, by button id.
  POINT CentreOf(int id) const;
  void PenDown(POINT at);
  void PenMove(POINT at);
  void PenUp(POINT at);
  void Tap(int id);
  void Taps(std::initializer_list<int> ids);
  // Pen down on the button, `ticks` ticks of the hold timer, pen up.
  void Hold(int id, int ticks);
  // A swipe of the finger across the panel, then the slide to its end.
  void SwipeFinger(Swipe direction);
  void FinishSlide();
  // Taps the candidate window at the centre of the entry `index` (it must be shown).
  void TapCandidate(int index);
  // The keys of a word in the current language, and typing it with one tap per letter.
  int KeyOf(char16_t letter) const;
  void TypeKeys(std::u16string_view word);
  // Types the word's keys and picks the word: the space key when it is the selected candidate,
  // else a tap on it in the candidate window (paging with the next-candidate key when needed).
  void TypeWord(std::u16string_view word);

  // Time.
  void AdvanceClock(uint32_t milliseconds) { now_ += milliseconds; }
  void Timer(UINT_PTR id);
  void MultiTapTimeout() { Timer(CInputWnd::kMultiTapTimer); }

  int Beeps() const { return beeps_; }
  const std::vector<unsigned>& Pauses() const { return pauses_; }
  int LayoutChanges() const { return owner_.changes; }
  int SheetsShown() const { return sheetsShown_; }
  // Runs when the options sheet is shown, once it has been told to close.
  std::function<void()> onSheet;

 private:
  TempDir folder_;
  DeviceRootScope root_;
  Settings savedSettings_;
  uint32_t now_ = 100000;
  int beeps_ = 0;
  std::vector<unsigned> pauses_;
  int sheetsShown_ = 0;
  RecordingCallback callback_;
  HWND sip_ = nullptr;
  LayoutOwner owner_;
  std::unique_ptr<CInputWnd> window_;
};

// The installation folder's pieces copied from the source tree.
void CopyShippedFiles(const TempDir& folder, bool german);

}  // namespace tessaline::testing
