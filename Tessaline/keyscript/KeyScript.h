// Key scripts: the notation in which user buttons name key combinations, such as
// "VK_CONTROLd+VK_HOME+VK_CONTROLu" (Ctrl down, Home pressed and released, Ctrl up), its table of
// key names, the compiler that turns a script into key events and the sender that delivers them.
//
// A compiled script is text in which each key event is U+0001 followed by one 16-bit unit: low
// byte the virtual-key code, high byte the action (0 press and release, 1 press only, 2 release
// only). Everything else is literal text. Portable: delivery goes through KeyDelivery.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "system/WideText.h"

namespace tessaline {

// One row of the key name table: the name a script uses, the name a person reads, the code.
struct KeyName {
  const char16_t* scriptName;
  const char16_t* displayName;
  uint8_t code;
};

constexpr size_t kKeyNameCount = 86;
// The table in its fixed order: Ctrl, Shift, Alt, Esc, Enter, ... (rows 0 to 85). The Buttons
// page lists the display names in this order; the compiler matches the script names.
std::span<const KeyName, kKeyNameCount> KeyNameTable();
// Rows 0 to 2: "VK_CONTROL", "VK_SHIFT", "VK_MENU", written with a "d" or "u" suffix around
// other keys.
bool IsModifierRow(size_t row);

constexpr char16_t kKeyEventMark = u'\x0001';
enum KeyAction : uint8_t { kPressAndRelease = 0, kPressOnly = 1, kReleaseOnly = 2 };

// Compiles a script: at each position the longest script name that begins there is a key (so
// "VK_F10" is F10 and "VK_BACKQUOTE" is not "VK_BACK" and letters); a "d" or "u" right after the
// name makes it a press or a release only; one "+" right after the name and its suffix is
// dropped. Everything else is literal text, except U+0001, which would be read as a key event
// and is left out.
WideString CompileKeyScript(WideView script);

// A compiled script as a list of events, in order.
struct KeyScriptEvent {
  bool isKey = false;
  WideString text;  // literal text (isKey false), never empty
  uint8_t code = 0;
  uint8_t action = kPressAndRelease;
};
// A U+0001 at the very end (no unit after it) ends the list; a unit whose action is above 2 is
// kept as it is (the sender sends neither half of it).
std::vector<KeyScriptEvent> ReadCompiledKeyScript(WideView compiled);

// Where text and keys go: the soft input panel's callback on Win32, a recorder in tests.
class KeyDelivery {
 public:
  virtual ~KeyDelivery() = default;
  // The first `length` characters of text.
  virtual void SendString(const char16_t* text, size_t length) = 0;
  // One half of a key stroke: the press, or the release.
  virtual void SendVirtualKey(uint8_t code, bool release) = 0;
  // Waits that many milliseconds between two calls.
  virtual void Pause(unsigned milliseconds) = 0;
};

// The pause after each call while a script is sent.
constexpr unsigned kKeyScriptPauseMilliseconds = 5;

// Sends a compiled script: text before a key event as one string, then the press and/or the
// release, with a pause after each call; text after the last key event as one string without a
// pause.
void SendKeyScript(WideView compiled, KeyDelivery& delivery);

}  // namespace tessaline
