// The input window's three ways of reaching the application: a virtual key (pressed and
// released), Backspace n times, and text. While the user spells a word in the candidate window,
// keys do not reach the application: Backspace edits the spelled word instead and other keys are
// dropped. The delivery also keeps the input window's note that a committed word's trailing
// space was just sent.
#pragma once

#include <cstdint>

#include "runtime/CallbackDelivery.h"
#include "system/WideText.h"

namespace tessaline {

constexpr uint8_t kVkBack = 0x08;
constexpr uint8_t kVkReturn = 0x0D;

// The input window's side of spelling mode.
class SpellingTarget {
 public:
  virtual ~SpellingTarget() = default;
  virtual bool SpellingMode() const = 0;
  // A Backspace while spelling: takes back the last spelled letter; with none left the word
  // being composed is given up.
  virtual void SpellingBackspace() = 0;
};

class TextDelivery {
 public:
  explicit TextDelivery(IIMCallback* callback = nullptr) : delivery_(callback) {}

  void SetCallback(IIMCallback* callback) { delivery_.SetCallback(callback); }
  IIMCallback* Callback() const { return delivery_.Callback(); }
  void SetSpellingTarget(SpellingTarget* target) { spelling_ = target; }

  // SendVirtualKey(vk, 0) then SendVirtualKey(vk, KEYEVENTF_KEYUP), or the spelling diversion.
  // Either way the trailing space of a committed word is no longer the last thing sent.
  void SendKey(uint8_t vk);
  // SendKey(Backspace) n times.
  void SendBackspaces(int n);
  // SendString with the text and its length. The text is now the last thing sent, not a
  // committed word's space.
  void SendText(WideView text);
  // Compiles and sends a key script (5 ms after each call). Keys and text of a script move the
  // application's caret, so a committed word's trailing space is no longer the last thing sent.
  void SendKeyScript(WideView script);

  bool AutoSpacePending() const { return autoSpacePending_; }
  void SetAutoSpacePending(bool pending) { autoSpacePending_ = pending; }

 private:
  CallbackDelivery delivery_;
  SpellingTarget* spelling_ = nullptr;
  bool autoSpacePending_ = false;
};

}  // namespace tessaline
