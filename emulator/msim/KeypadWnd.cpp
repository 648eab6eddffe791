#include "KeypadWnd.h"

#include <cwctype>
#include <string>

#include "SystemKeyboard.h"
#include "win32/Handles.h"

namespace tessaline::msim {
namespace {

constexpr wchar_t kClassName[] = L"SystemKeyboardKeypad";

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
  if (!RegisterClassOnce(kClassName, 0, {LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr})) {
    return false;
  }
  keys_ = KeypadKeys(width, rowHeight);
  return CreateWindowOf(0, kClassName, L"Keyboard", WS_CHILD | WS_VISIBLE, 0, 0, width,
                        rowHeight * kKeypadRows, parent) != nullptr;
}

void CKeypadWnd::SetRowHeight(int rowHeight) {
  if (!Handle()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  keys_ = KeypadKeys(client.right, rowHeight);
  SetWindowPos(Handle(), nullptr, 0, 0, client.right, rowHeight * kKeypadRows,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void CKeypadWnd::ResetInput() {
  pressed_ = -1;
  shift_ = false;
  if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT CKeypadWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaint();
    case WM_LBUTTONDOWN:
      return OnLButtonDown(PointOf(lParam));
    case WM_LBUTTONUP:
      return OnLButtonUp(PointOf(lParam));
  }
  return DefaultHandling(message, wParam, lParam);
}

LRESULT CKeypadWnd::OnPaint() {
  win32::PaintScope paint(Handle());
  HDC dc = paint.Get();
  RECT client{};
  GetClientRect(Handle(), &client);
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
  SetCapture(Handle());
  InvalidateRect(Handle(), nullptr, FALSE);
  return 0;
}

LRESULT CKeypadWnd::OnLButtonUp(POINT point) {
  if (GetCapture() == Handle()) ReleaseCapture();
  const KeypadKey* key = KeyAt(keys_, point);
  const int released = key ? static_cast<int>(key - keys_.data()) : -1;
  const int pressed = pressed_;
  pressed_ = -1;
  if (released >= 0 && released == pressed) Type(*key);
  InvalidateRect(Handle(), nullptr, FALSE);
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
  const win32::Bstr string(text);
  callback_->SendString(string.Get(), static_cast<DWORD>(text.size()));
}

void CKeypadWnd::PressAndRelease(BYTE vk) {
  callback_->SendVirtualKey(vk, 0);
  callback_->SendVirtualKey(vk, kKeyEventKeyUp);
}

}  // namespace tessaline::msim
