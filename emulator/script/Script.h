// The headless emulator's scripts: one command a line, pen positions in device pixels.
//
//   tap X Y            pen down and up at one point
//   down X Y / move X Y / up X Y
//   hold X Y MS        pen down, held MS milliseconds, pen up
//   swipe X1 Y1 X2 Y2  pen down at the first point, dragged to the second, pen up
//   wait MS            let the device run for MS milliseconds
//   shot NAME          a PNG screenshot NAME.png of the device screen
//   options            the current input method's options (UserOptionsDlg)
//   show / hide        the input panel shown or hidden, as by the panel button
//   key KEYS           keys sent through the panel's callback as an input method sends them:
//                      a key name (VK_HOME, or its display name Home) is pressed and released;
//                      a key script such as VK_CONTROLd+VK_HOME+VK_CONTROLu holds Ctrl across
//                      the Home key
//   page NAME          the open options sheet shows its page NAME (the tab's text)
//   press TEXT         the button or check box TEXT of an open dialog is clicked ("OK" too)
//   type TEXT          the rest of the line typed on Tessaline's keypad by the typist ("\n" is
//                      a line break); the Notes text is not checked against it
//
// Blank lines and lines starting with '#' are left out. Anything else that is not a command
// above, with exactly its numbers, is an error that names the line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaline::emulator {

enum class ScriptVerb {
  kTap,
  kDown,
  kMove,
  kUp,
  kHold,
  kSwipe,
  kWait,
  kShot,
  kOptions,
  kShow,
  kHide,
  kKey,
  kType,
  kPage,
  kPress
};

struct ScriptCommand {
  ScriptVerb verb = ScriptVerb::kWait;
  int line = 0;         // 1-based line number in the script
  int numbers[4] = {};  // X Y, X Y MS, X1 Y1 X2 Y2, or MS, as the verb takes them
  std::string name;     // shot: the file's name; key: the keys as written; type, page, press: text
  struct Key {
    uint8_t code;
    bool press;
    bool release;
  };
  std::vector<Key> keys;  // key: the key events in order
};

struct ScriptError {
  int line = 0;
  std::string message;  // "line 3: ..." for a person to read
};

// Reads a whole script (UTF-8; CR LF or LF). On an error returns false with the first bad line.
bool ParseScript(const std::string& text, std::vector<ScriptCommand>& commands, ScriptError& error);

// The virtual-key code of a key name (script name "VK_HOME" or display name "Home", either
// case), 0 when there is no such key.
uint8_t KeyCodeByName(const std::string& name);

// Pen positions lie on the device screen; a screenshot name is a plain file name.
constexpr int kLargestCoordinate = 4096;
constexpr int kLongestWait = 600000;

}  // namespace tessaline::emulator
