// The window side of every window of the product and of the emulator: one window class per kind
// of window, registered once for the module, and a window procedure that hands each message to
// the object that owns the window.
//
// The object and its window can part in either order. When the window goes first (its owner
// destroyed it), the object forgets the handle at WM_NCDESTROY and later calls find no window.
// When the object goes first, it destroys its window; derived classes do that in their own
// destructor so that WM_DESTROY still reaches them whole. A message arriving after the object
// left its window goes to the default handling.
#pragma once

#include <windows.h>

#include <memory>

namespace tessaline::win32 {

// The module that holds this code (Tessaline.dll, the system keyboard's library, the emulator or
// a test program): the windows' classes are registered for it.
HINSTANCE ThisModule();

// Removes the window classes this module registered; a library calls it when it is unloaded,
// since a class registered by a library outlives the library otherwise.
void UnregisterWindowClasses();

// What a window class shows before its windows paint: the cursor over them, the icon of a
// top-level window, the brush that fills their background. None of them by default.
struct ClassLook {
  HCURSOR cursor = nullptr;
  HICON icon = nullptr;
  HBRUSH background = nullptr;
};

class MessageWindow {
 public:
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

  MessageWindow() = default;
  virtual ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND Handle() const { return window_; }
  // Destroys the window (WM_DESTROY reaches the object); nothing when there is none.
  void DestroyWindowNow();

 protected:
  // Registers the class once for the module; false when it could not be registered.
  static bool RegisterClassOnce(const wchar_t* className, UINT classStyle,
                                const ClassLook& look = {});
  // Creates the window of that class for this object (a window it had is destroyed first). A
  // message-only window has HWND_MESSAGE as its parent.
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

}  // namespace tessaline::win32
