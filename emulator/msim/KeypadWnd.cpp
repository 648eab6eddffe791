#include "KeypadWnd.h"

#include <cwctype>
#include <string>

#include "SystemKeyboard.h"
#include "system/win32/Handles.h"

namespace tessaline::msim {
namespace {

constexpr wchar_t kClassName[] = L"SystemKeyboardKeypad";

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

const wchar_t* Caption(const KeypadKey& key, bool shift, wchar_t (&buffer)[2]) {
  switch (key.kind) {
    case KeyKind::kShift:
      return L"aA";
    case KeyKind::kBackspace:
      return L"\x2190";
    case KeyKind::kSpace:
      return L"";
    case KeyKind::kEnter:
      return L"Enter";
    case KeyKind::kLetter:
      break;
  }
  buffer[0] = shift ? static_cast<wchar_t>(towupper(key.letter)) : key.letter;
  buffer[1] = L'\0';
  return buffer;
}

}  // namespace

bool CKeypadWnd::Create(HWND parent, int width, int rowHeight) {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = ModuleInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) != 0;
  }();
  if (!registered) return false;
  keys_ = KeypadKeys(width, rowHeight);
  window_ = CreateWindowExW(0, kClassName, L"Keyboard", WS_CHILD | WS_VISIBLE, 0, 0, width,
                            rowHeight * kKeypadRows, parent, nullptr, ModuleInstance(), this);
  return window_ != nullptr;
}

void CKeypadWnd::Destroy() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
}

void CKeypadWnd::SetRowHeight(int rowHeight) {
  if (!window_) return;
  RECT client{};
  GetClientRect(window_, &client);
  keys_ = KeypadKeys(client.right, rowHeight);
  SetWindowPos(window_, nullptr, 0, 0, client.right, rowHeight * kKeypadRows,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

void CKeypadWnd::ResetInput() {
  pressed_ = -1;
  shift_ = false;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK CKeypadWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CKeypadWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self) {
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
      case WM_PAINT:
        return self->OnPaint();
      case WM_LBUTTONDOWN:
        return self->OnLButtonDown(point);
      case WM_LBUTTONUP:
        return self->OnLButtonUp(point);
      case WM_NCDESTROY:
        self->window_ = nullptr;
        break;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CKeypadWnd::OnPaint() {
  win32::PaintScope paint(window_);
  HDC dc = paint.Get();
  RECT client{};
  GetClientRect(window_, &client);
  win32::Brush back(CreateSolidBrush(RGB(214, 219, 231)));
  FillRect(dc, &client, back.Get());
  win32::Font font(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                               ANTIALIASED_QUALITY, 0, L"Tahoma"));
  win32::SelectScope selectFont(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  win32::Brush keyFace(CreateSolidBrush(RGB(255, 255, 255)));
  win32::Brush keyDown(CreateSolidBrush(RGB(49, 106, 197)));
  win32::Pen edge(CreatePen(PS_SOLID, 1, RGB(128, 136, 160)));
  win32::SelectScope selectPen(dc, edge.Get());
  for (size_t i = 0; i < keys_.size(); ++i) {
    const KeypadKey& key = keys_[i];
    const bool down = static_cast<int>(i) == pressed_ || (key.kind == KeyKind::kShift && shift_);
    win32::SelectScope selectBrush(dc, down ? keyDown.Get() : keyFace.Get());
    RoundRect(dc, key.rect.left + 1, key.rect.top + 1, key.rect.right - 1, key.rect.bottom - 1, 4,
              4);
    SetTextColor(dc, down ? RGB(255, 255, 255) : RGB(0, 0, 0));
    wchar_t buffer[2];
    RECT text = key.rect;
    DrawTextW(dc, Caption(key, shift_, buffer), -1, &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  return 0;
}

LRESULT CKeypadWnd::OnLButtonDown(POINT point) {
  const KeypadKey* key = KeyAt(keys_, point);
  pressed_ = key ? static_cast<int>(key - keys_.data()) : -1;
  SetCapture(window_);
  InvalidateRect(window_, nullptr, FALSE);
  return 0;
}

LRESULT CKeypadWnd::OnLButtonUp(POINT point) {
  if (GetCapture() == window_) ReleaseCapture();
  const KeypadKey* key = KeyAt(keys_, point);
  const int released = key ? static_cast<int>(key - keys_.data()) : -1;
  const int pressed = pressed_;
  pressed_ = -1;
  if (released >= 0 && released == pressed) Type(*key);
  InvalidateRect(window_, nullptr, FALSE);
  return 0;
}

void CKeypadWnd::Type(const KeypadKey& key) {
  if (!callback_) return;
  switch (key.kind) {
    case KeyKind::kShift:
      shift_ = !shift_;
      return;
    case KeyKind::kBackspace:
      PressAndRelease(VK_BACK);
      return;
    case KeyKind::kEnter:
      PressAndRelease(VK_RETURN);
      return;
    case KeyKind::kSpace:
    case KeyKind::kLetter:
      break;
  }
  wchar_t buffer[2];
  std::wstring text = Caption(key, shift_, buffer);
  if (key.kind == KeyKind::kSpace) text = L" ";
  shift_ = false;
  BSTR string = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  callback_->SendString(string, static_cast<DWORD>(text.size()));
  SysFreeString(string);
}

void CKeypadWnd::PressAndRelease(BYTE vk) {
  callback_->SendVirtualKey(vk, 0);
  callback_->SendVirtualKey(vk, kKeyEventKeyUp);
}

}  // namespace tessaline::msim
