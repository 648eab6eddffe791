#include "win32/MessageWindow.h"

#include <string>
#include <vector>

namespace tessaline::win32 {
namespace {

std::vector<std::wstring>& RegisteredClasses() {
  static std::vector<std::wstring> classes;
  return classes;
}

}  // namespace

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

void UnregisterWindowClasses() {
  for (const std::wstring& name : RegisteredClasses()) {
    UnregisterClassW(name.c_str(), ThisModule());
  }
  RegisteredClasses().clear();
}

MessageWindow::~MessageWindow() {
  *alive_ = false;
  // A derived class destroys its window in its own destructor; should one not have, the window
  // is let go here without reaching the half-destroyed object.
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    if (IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
  }
}

void MessageWindow::DestroyWindowNow() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
}

bool MessageWindow::RegisterClassOnce(const wchar_t* className, UINT classStyle,
                                      const ClassLook& look) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(ThisModule(), className, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = ThisModule();
  windowClass.hCursor = look.cursor;
  windowClass.hIcon = look.icon;
  windowClass.hbrBackground = look.background;
  windowClass.lpszClassName = className;
  if (!RegisterClassExW(&windowClass)) return false;
  RegisteredClasses().emplace_back(className);
  return true;
}

HWND MessageWindow::CreateWindowOf(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                                   DWORD style, int x, int y, int width, int height, HWND parent) {
  DestroyWindowNow();
  return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                         ThisModule(), this);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<MessageWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->window_ = window;
  }
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

}  // namespace tessaline::win32
