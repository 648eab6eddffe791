// The setup hooks' message boxes. They go through one function so that a host without a person
// in front of it (a test, the emulator's headless installer) can answer them; by default they are
// real message boxes owned by the installer's window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tessaline::setup {

struct SetupMessage {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  UINT style = MB_OK;
};

// Answers IDOK, IDCANCEL, ... as MessageBoxW does.
using SetupMessageHandler = std::function<int(const SetupMessage&)>;

// A message without a caption (an empty one).
int ShowSetupMessage(HWND owner, const std::wstring& text, UINT style);

// Installs a handler for every later message; an empty one restores the message box. Returns the
// previous handler.
SetupMessageHandler SetSetupMessageHandler(SetupMessageHandler handler);

}  // namespace tessaline::setup
