#include "options/OpenOptions.h"

#include <utility>

#include "languages/InterfaceTexts.h"
#include "options/OptionsSheet.h"
#include "platform/Sip.h"
#include "settings/SettingsStore.h"
#include "system/Messages.h"
#include "win32/Handles.h"

namespace tessaline {
namespace {

// The sheet's OK is followed by a short pause before the panel is hidden, so that the sheet has
// left the screen when the panel goes.
constexpr unsigned kHideDelayMilliseconds = 500;

OptionsHooks& Hooks() {
  static OptionsHooks hooks;
  return hooks;
}

void Wait(unsigned milliseconds) {
  if (Hooks().wait) {
    Hooks().wait(milliseconds);
  } else {
    Sleep(milliseconds);
  }
}

}  // namespace

OptionsHooks SetOptionsHooks(OptionsHooks hooks) {
  return std::exchange(Hooks(), std::move(hooks));
}

void OpenOptions(HWND parent) {
  // The mutex is only tested for existence, never waited on.
  win32::KernelHandle guard(CreateMutexW(nullptr, FALSE, L"TessalineOptions"));
  if (guard && GetLastError() == ERROR_ALREADY_EXISTS) {
    guard.Reset();
    ShowMessage(InterfaceText(15), u"");  // a plain box with an empty caption
    return;
  }

  OptionsPages pages = CreateOptionsPages();
  const bool ok = ShowOptionsSheet(parent, pages, Hooks().sheetShown);
  pages.clear();
  if (ok) {
    Wait(kHideDelayMilliseconds);
    SipShowIM(SIPF_OFF);
    RaiseCounterAndSave();
  }
}

}  // namespace tessaline
