#include "runtime/RuntimeSeams.h"

#include <windows.h>

#include <utility>

namespace tessaline {
namespace {

std::function<void(unsigned)>& PauseHook() {
  static std::function<void(unsigned)> hook;
  return hook;
}

std::function<void()>& BeepHook() {
  static std::function<void()> hook;
  return hook;
}

std::function<int()>& ScreenWidthSource() {
  static std::function<int()> source;
  return source;
}

}  // namespace

void RuntimePause(unsigned milliseconds) {
  if (PauseHook()) {
    PauseHook()(milliseconds);
  } else {
    Sleep(milliseconds);
  }
}

void SetPauseHook(std::function<void(unsigned)> hook) { PauseHook() = std::move(hook); }

void DefaultBeep() {
  if (BeepHook()) {
    BeepHook()();
  } else {
    MessageBeep(MB_OK);
  }
}

void SetBeepHook(std::function<void()> hook) { BeepHook() = std::move(hook); }

PopupScreen PopupScreenOf(void* inputWindow) {
  if (ScreenWidthSource()) return PopupScreen{0, ScreenWidthSource()()};
  HWND root = inputWindow ? GetAncestor(static_cast<HWND>(inputWindow), GA_ROOT) : nullptr;
  RECT r{};
  if (root && GetWindowRect(root, &r) && r.right > r.left) {
    return PopupScreen{r.left, r.right - r.left};
  }
  return PopupScreen{0, GetSystemMetrics(SM_CXSCREEN)};
}

void SetPopupScreenWidthSource(std::function<int()> source) {
  ScreenWidthSource() = std::move(source);
}

}  // namespace tessaline
