#include "script/DialogControls.h"

#include <windows.h>
// The common controls' header needs the Windows header before it.
#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "system/WideText.h"

namespace tessaline::emulator {
namespace {

std::wstring Text(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// Without '&' and in lower case, so that "&OK" and "ok" match.
std::wstring Plain(std::wstring text) {
  std::wstring out;
  for (wchar_t ch : text) {
    if (ch != L'&') out.push_back(static_cast<wchar_t>(towlower(ch)));
  }
  return out;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

// The visible dialogs of this process, the topmost first.
std::vector<HWND> Dialogs() {
  std::vector<HWND> all, dialogs;
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    if (ClassOf(window) == L"#32770") dialogs.push_back(window);
  }
  return dialogs;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND TabControlOf(HWND sheet) {
  for (HWND child : Descendants(sheet)) {
    if (ClassOf(child) == WC_TABCONTROLW) return child;
  }
  return nullptr;
}

}  // namespace

std::string SelectSheetPage(const std::wstring& name) {
  for (HWND sheet : Dialogs()) {
    HWND tabs = TabControlOf(sheet);
    if (!tabs) continue;
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[128] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = 128;
      SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      if (Plain(text) == Plain(name)) {
        SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(i), 0);
        return {};
      }
    }
    return "the options sheet has no page '" + WideToUtf8(name) + "'";
  }
  return "no options sheet is open";
}

std::string PressButton(const std::wstring& text) {
  const std::vector<HWND> dialogs = Dialogs();
  for (HWND dialog : dialogs) {
    for (HWND child : Descendants(dialog)) {
      if (ClassOf(child) == L"Button" && IsWindowVisible(child) && IsWindowEnabled(child) &&
          Plain(Text(child)) == Plain(text)) {
        SendMessageW(child, BM_CLICK, 0, 0);
        return {};
      }
    }
  }
  if (Plain(text) == L"ok") {
    for (HWND dialog : dialogs) {
      if (!TabControlOf(dialog)) continue;
      SendMessageW(dialog, PSM_PRESSBUTTON, PSBTN_OK, 0);
      return {};
    }
  }
  return dialogs.empty() ? "no dialog is open"
                         : "no button or check box '" + WideToUtf8(text) + "' in the open dialog";
}

std::string ChooseEntry(const std::wstring& text) {
  const std::vector<HWND> dialogs = Dialogs();
  for (HWND dialog : dialogs) {
    for (HWND child : Descendants(dialog)) {
      if (!IsWindowVisible(child) || !IsWindowEnabled(child)) continue;
      const std::wstring kind = ClassOf(child);
      const bool list = kind == L"ListBox";
      if (!list && kind != L"ComboBox") continue;
      const int count = static_cast<int>(
          SendMessageW(child, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        const int length = static_cast<int>(
            SendMessageW(child, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
        if (length < 0) continue;
        std::wstring entry(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(child, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(static_cast<size_t>(length));
        if (entry != text) continue;
        SendMessageW(child, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        // A program's selection sends no notification; a tap's does.
        const int id = GetDlgCtrlID(child);
        const WORD code = list ? LBN_SELCHANGE : CBN_SELCHANGE;
        SendMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(child));
        return {};
      }
    }
  }
  return dialogs.empty() ? "no dialog is open"
                         : "no list in the open dialog has the entry '" + WideToUtf8(text) + "'";
}

}  // namespace tessaline::emulator
