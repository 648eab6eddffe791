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
//   choose TEXT        the entry TEXT of a list or drop-down of an open dialog is picked, as a
//                      tap on it would pick it (the first list that has the entry)
//   type TEXT          the rest of the line typed on Tessaline's keypad by the typist ("\n" is
//                      a line break); the Notes text is not checked against it
//
// The platform around the application:
//   install            the device's installer installs the product's package (emulator
//                      --install), and the script waits for it to end; a failure stops it
//   uninstall          the device's uninstaller removes it ("unload.exe Tulvane Tessaline"); the
//                      script waits for it to end, and for the device to start again when the
//                      removal asked for a soft reset; a failure stops it
//   reset              the reset button: a soft reset; the script goes on once the device has
//                      started again and its start-up programs are running
//   answer ok|cancel   how the setup library's questions are answered from now on (a headless
//                      device answers OK until told otherwise)
//   current NAME       waits (at most 90 s) until the input method of that name, as the picker
//                      shows it, is the device's current one and runs in the panel
//   pick NAME          chooses that input method in the picker: the arrow, then its row
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
  kPress,
  kChoose,
  kInstall,
  kUninstall,
  kReset,
  kAnswer,
  kCurrent,
  kPick
};

struct ScriptCommand {
  ScriptVerb verb = ScriptVerb::kWait;
  int line = 0;         // 1-based line number in the script
  int numbers[4] = {};  // X Y, X Y MS, X1 Y1 X2 Y2, or MS, as the verb takes them
  std::string name;     // shot: the file's name; key: the keys as written; type, page, press,
                        // choose: text; answer: ok or cancel; current, pick: the input method's name
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
