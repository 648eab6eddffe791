// A plain top-level window that stands in for the input window in the pop-up tests: it sits at
// a given place on the screen and records the commands the pop-ups send it.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "win32/MessageWindow.h"

namespace tessaline::testing {

class OwnerWindow final : public win32::MessageWindow {
 public:
  explicit OwnerWindow(RECT place) {
    RegisterClassOnce(L"TessalineTestOwner", 0);
    CreateWindowOf(WS_EX_NOACTIVATE, L"TessalineTestOwner", L"owner", WS_POPUP, place.left,
                   place.top, place.right - place.left, place.bottom - place.top, nullptr);
  }
  ~OwnerWindow() override { DestroyWindowNow(); }

  HWND Get() const { return Handle(); }
  void Destroy() { DestroyWindowNow(); }
  // Each command as (low word, high word).
  const std::vector<std::pair<int, int>>& Commands() const { return commands_; }
  void ClearCommands() { commands_.clear(); }
  // Runs after a command was recorded.
  std::function<void(int id, int code)> onCommand;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND) {
      commands_.emplace_back(LOWORD(wParam), HIWORD(wParam));
      if (onCommand) onCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    }
    return DefaultHandling(message, wParam, lParam);
  }

  std::vector<std::pair<int, int>> commands_;
};

}  // namespace tessaline::testing
