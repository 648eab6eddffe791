// A plain top-level window that stands in for the input window in the pop-up tests: it sits at
// a given place on the screen and records the commands the pop-ups send it.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace tessaline::testing {

class OwnerWindow {
 public:
  explicit OwnerWindow(RECT place) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TessalineTestOwner";
    RegisterClassW(&windowClass);  // fails harmlessly when registered already
    window_ =
        CreateWindowExW(WS_EX_NOACTIVATE, L"TessalineTestOwner", L"owner", WS_POPUP, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, nullptr,
                        nullptr, GetModuleHandleW(nullptr), this);
  }
  ~OwnerWindow() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
  }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;

  HWND Get() const { return window_; }
  void Destroy() {
    DestroyWindow(window_);
    window_ = nullptr;
  }
  // Each command as (low word, high word).
  const std::vector<std::pair<int, int>>& Commands() const { return commands_; }
  void ClearCommands() { commands_.clear(); }
  // Runs after a command was recorded.
  std::function<void(int id, int code)> onCommand;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      SetWindowLongPtrW(
          window, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COMMAND) {
      self->commands_.emplace_back(LOWORD(wParam), HIWORD(wParam));
      if (self->onCommand) self->onCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  std::vector<std::pair<int, int>> commands_;
};

}  // namespace tessaline::testing
