#include "sip/KeyDelivery.h"

namespace tessaline::emulator {
namespace {

bool IsExtendedKey(BYTE vk) {
  switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_DIVIDE:
    case VK_RCONTROL:
    case VK_RMENU:
      return true;
    default:
      return false;
  }
}

// The left-hand key that a generic modifier stands for on the keyboard.
BYTE SidedKey(BYTE vk) {
  switch (vk) {
    case VK_CONTROL:
      return VK_LCONTROL;
    case VK_SHIFT:
      return VK_LSHIFT;
    case VK_MENU:
      return VK_LMENU;
    default:
      return 0;
  }
}

bool IsEditControl(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpiW(name, L"Edit") == 0;
}

}  // namespace

void KeyDelivery::ApplyKeyState(BYTE vk, bool release) {
  const bool wasDown = (held_[vk] & 0x80) != 0;
  if (release) {
    held_[vk] &= static_cast<BYTE>(~0x80);
  } else {
    held_[vk] |= 0x80;
    if (!wasDown) held_[vk] ^= 0x01;  // the toggle bit, as Caps Lock keeps it
  }
  if (const BYTE sided = SidedKey(vk)) held_[sided] = held_[vk];
  BYTE state[256];
  GetKeyboardState(state);
  for (int key = 1; key < 256; ++key) {
    state[key] = static_cast<BYTE>((state[key] & 0x01) | (held_[key] & 0x80));
  }
  state[VK_CAPITAL] = held_[VK_CAPITAL];
  SetKeyboardState(state);
}

void KeyDelivery::SendVirtualKey(BYTE vk, bool release) {
  HWND window = target_();
  const bool wasDown = IsHeld(vk);
  ApplyKeyState(vk, release);
  if (!window) return;
  const bool alt = IsHeld(VK_MENU);
  const bool system = (alt || vk == VK_MENU || vk == VK_F10) && !IsHeld(VK_CONTROL);
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  LPARAM lParam = 1 | (LPARAM(scan & 0xFF) << 16);
  if (IsExtendedKey(vk)) lParam |= LPARAM(1) << 24;
  if (alt) lParam |= LPARAM(1) << 29;
  if (release) {
    lParam |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
  } else if (wasDown) {
    lParam |= LPARAM(1) << 30;  // an auto-repeat of a held key
  }
  const UINT message =
      release ? (system ? WM_SYSKEYUP : WM_KEYUP) : (system ? WM_SYSKEYDOWN : WM_KEYDOWN);
  SendMessageW(window, message, vk, lParam);
  if (!release) {
    // The characters come from the keyboard layout, as TranslateMessage makes them in a
    // message loop; they are delivered at once, while the key state still holds.
    MSG msg{window, message, vk, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    TranslateMessage(&msg);
    DeliverCharacters(window);
  }
}

void KeyDelivery::DeliverCharacters(HWND window) {
  MSG msg;
  while (PeekMessageW(&msg, window, WM_CHAR, WM_DEADCHAR, PM_REMOVE) ||
         PeekMessageW(&msg, window, WM_SYSCHAR, WM_SYSDEADCHAR, PM_REMOVE)) {
    SendMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
  }
}

void KeyDelivery::SendString(const wchar_t* text, size_t length) {
  HWND window = target_();
  if (!window || length == 0) return;
  std::wstring converted;
  converted.reserve(length + 8);
  for (size_t i = 0; i < length; ++i) {
    const wchar_t ch = text[i];
    if (ch == L'\r') {
      converted += L"\r\n";
      if (i + 1 < length && text[i + 1] == L'\n') ++i;
    } else if (ch == L'\n') {
      converted += L"\r\n";
    } else {
      converted.push_back(ch);
    }
  }
  if (IsEditControl(window)) {
    SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(converted.c_str()));
    return;
  }
  // Any other window gets the characters as typed ones.
  for (wchar_t ch : converted) SendMessageW(window, WM_CHAR, ch, 1);
}

void KeyDelivery::ReleaseAll() {
  for (BYTE& key : held_) key &= static_cast<BYTE>(~0x80);
  ApplyKeyState(0, true);
}

}  // namespace tessaline::emulator
