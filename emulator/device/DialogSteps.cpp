#include "device/DialogSteps.h"

#include <commctrl.h>
#include <prsht.h>

#include <cwctype>
#include <memory>
#include <optional>

#include "screen/Utf8.h"

namespace tessaline::emulator {
namespace {

constexpr UINT kPollMilliseconds = 50;

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return text;
}

bool HasClass(HWND window, const wchar_t* name) {
  wchar_t found[64] = {};
  GetClassNameW(window, found, static_cast<int>(std::size(found)));
  return lstrcmpiW(found, name) == 0;
}

// The dialog window on top of this thread's windows: the options sheet runs modally on the
// device's own thread, inside the input method.
HWND OpenDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        if (!IsWindowVisible(window) || !IsWindowEnabled(window) || !HasClass(window, L"#32770")) {
          return TRUE;
        }
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

struct ButtonSearch {
  std::wstring wanted;
  std::vector<HWND> found;
  std::wstring shown;  // every visible button's text, for the error
};

BOOL CALLBACK FindButton(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<ButtonSearch*>(data);
  if (!HasClass(window, L"Button") || !IsWindowVisible(window)) return TRUE;
  const std::wstring text = WindowText(window);
  if (SameControlText(text, search.wanted)) search.found.push_back(window);
  search.shown += L" '" + text + L"'";
  return TRUE;
}

// Runs `act` on the open dialog once there is one; waits up to the time-out for it.
template <typename Act>
std::vector<DeviceStep> OnDialog(const ScriptCommand& command, Act act) {
  auto since = std::make_shared<std::optional<DWORD>>();
  const std::string where = "line " + std::to_string(command.line) + ": ";
  return {{[=] {
             if (!*since) *since = GetTickCount();
             const HWND dialog = OpenDialog();
             if (!dialog) {
               if (GetTickCount() - **since < kDialogTimeout) return kStepNotDone;
               return where + "no window is open over the device";
             }
             const std::string error = act(dialog);
             return error.empty() ? error : where + error;
           },
           kPollMilliseconds}};
}

}  // namespace

bool SameControlText(const std::wstring& shown, const std::wstring& wanted) {
  std::wstring plain;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == L'&' && i + 1 < shown.size()) ++i;  // "&&" shows one '&'
    plain.push_back(shown[i]);
  }
  if (plain.size() != wanted.size()) return false;
  for (size_t i = 0; i < plain.size(); ++i) {
    if (std::towlower(plain[i]) != std::towlower(wanted[i])) return false;
  }
  return true;
}

std::vector<DeviceStep> TabSteps(const ScriptCommand& command) {
  const std::wstring wanted = FromUtf8(command.name);
  return OnDialog(command, [=](HWND dialog) -> std::string {
    const auto tabs = reinterpret_cast<HWND>(SendMessageW(dialog, PSM_GETTABCONTROL, 0, 0));
    if (!tabs) return "the window open over the device has no tabs";
    std::wstring shown;
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[128] = {};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = static_cast<int>(std::size(text));
      SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      if (SameControlText(text, wanted)) {
        if (!SendMessageW(dialog, PSM_SETCURSEL, i, 0)) return "cannot select the tab";
        return {};
      }
      shown += L" '" + std::wstring(text) + L"'";
    }
    return "no tab '" + command.name + "' (the tabs:" + ToUtf8(shown) + ")";
  });
}

std::vector<DeviceStep> ClickSteps(const ScriptCommand& command) {
  const std::wstring wanted = FromUtf8(command.name);
  return OnDialog(command, [=](HWND dialog) -> std::string {
    ButtonSearch search{wanted, {}, {}};
    EnumChildWindows(dialog, FindButton, reinterpret_cast<LPARAM>(&search));
    if (search.found.empty()) {
      return "no button '" + command.name + "' (the buttons:" + ToUtf8(search.shown) + ")";
    }
    if (search.found.size() > 1) return "more than one button '" + command.name + "'";
    if (!IsWindowEnabled(search.found[0])) return "the button '" + command.name + "' is off";
    // As a tap does: the button tells its dialog, which may close on it (OK).
    SendMessageW(search.found[0], BM_CLICK, 0, 0);
    return {};
  });
}

}  // namespace tessaline::emulator
