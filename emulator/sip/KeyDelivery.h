// Delivers the input method's keys and text to the focused window as a keyboard would: a key's
// press and release are WM_KEYDOWN and WM_KEYUP (WM_SYSKEY... while Alt is held) with the scan
// code and flags in lParam, and the characters the keyboard layout makes of them. Ctrl, Shift
// and Alt stay held between calls until their release comes, and the thread's key state says
// so while a key is delivered, so that a window asking GetKeyState (the edit control on
// Ctrl+Home, Shift+arrows) sees the modifiers.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tessaline::emulator {

class KeyDelivery {
 public:
  // target() names the window that receives the keys at the moment of each call.
  explicit KeyDelivery(std::function<HWND()> target) : target_(std::move(target)) {}

  void SendVirtualKey(BYTE vk, bool release);
  // Inserts text at the caret (line breaks as the edit control keeps them, CR LF).
  void SendString(const wchar_t* text, size_t length);

  bool IsHeld(BYTE vk) const { return (held_[vk] & 0x80) != 0; }
  // Releases every held key without sending anything (the input method went away).
  void ReleaseAll();

 private:
  void ApplyKeyState(BYTE vk, bool release);
  void DeliverCharacters(HWND window);

  std::function<HWND()> target_;
  BYTE held_[256] = {};
};

}  // namespace tessaline::emulator
