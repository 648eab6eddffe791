// The one way the input method shows a message box.
//
// Every message of the system goes through ShowMessage, so that tests can answer it instead of a
// person (nothing in a test may block on a modal window). Under Win32 the default is MessageBoxW
// (with no owner unless one is given); on the native build the message is written to standard error.
#pragma once

#include <functional>

#include "system/WideText.h"

namespace tessaline {

// Message box styles and answers, with the values Win32 gives them.
enum MessageStyle : unsigned {
  kMessageOk = 0x0,
  kMessageOkCancel = 0x1,
  kMessageYesNo = 0x4,
  kMessageIconError = 0x10,
  kMessageIconQuestion = 0x20,
  kMessageIconWarning = 0x30,
  kMessageIconInformation = 0x40,
};
enum MessageAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

struct MessageCall {
  WideString text;
  WideString caption;  // empty: the default caption
  unsigned style = kMessageOk;
  bool hasCaption = false;
  void* owner = nullptr;  // the window the box belongs to (HWND under Win32); none when null
};

using MessageHandler = std::function<int(const MessageCall&)>;

int ShowMessage(const WideString& text, unsigned style = kMessageOk);
int ShowMessage(const WideString& text, const WideString& caption, unsigned style = kMessageOk);
// A message box owned by a window (an HWND under Win32), which is disabled while the box is up:
// a question about what a window shows, so that nothing in it changes before the answer.
int ShowOwnedMessage(void* owner, const WideString& text, const WideString& caption,
                     unsigned style = kMessageOk);

// Installs a handler for every later message (tests); an empty handler restores the default.
// Returns the previous handler.
MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace tessaline
