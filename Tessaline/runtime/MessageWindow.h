// The window side shared by the input window and its pop-ups: one window class per kind of
// window, registered once for the module, and a window procedure that hands each message to the
// object that owns the window.
//
// The object and its window can part in either order. When the window goes first (its owner
// destroyed it), the object forgets the handle at WM_NCDESTROY and later calls find no window.
// When the object goes first, it destroys its window; derived classes do that in their own
// destructor so that WM_DESTROY still reaches them whole. A message arriving after the object
// left its window goes to the default handling.
#pragma once

#include <windows.h>

#include <memory>

namespace tessaline {

// The module that holds the runtime's code (Tessaline.dll, or the test program).
HINSTANCE RuntimeModule();

// Removes the window classes the runtime registered; Tessaline.dll calls it when it is unloaded,
// since a class registered by a library outlives the library otherwise.
void UnregisterRuntimeWindowClasses();

// Tells a message handler whether its object survived a call that may have destroyed it (a
// command sent to the owner window, a modal sheet): take the token before the call and ask it
// afterwards, without touching the object in between.
class LifeToken {
 public:
  explicit LifeToken(std::shared_ptr<const bool> alive) : alive_(std::move(alive)) {}
  bool Alive() const { return *alive_; }

 private:
  std::shared_ptr<const bool> alive_;
};

class MessageWindow {
 public:
  MessageWindow() = default;
  virtual ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND Handle() const { return window_; }
  // Destroys the window (WM_DESTROY reaches the object); nothing when there is none.
  void DestroyWindowNow();

 protected:
  // Registers the class once for the module: no cursor, no background brush.
  static void RegisterClassOnce(const wchar_t* className, UINT classStyle);
  HWND CreateWindowOf(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                      int x, int y, int width, int height, HWND parent);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
  }
  LifeToken Token() const { return LifeToken(alive_); }
  // The client point of a mouse message; coordinates are signed (captured moves go negative).
  static POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tessaline
