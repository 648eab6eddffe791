#include "options/OptionsSheet.h"

#include <commctrl.h>

#include "options/PropAbout.h"

namespace tessaline {
namespace {

// Posted to the sheet when it is first created; it arrives once the modal loop runs, that is
// once the sheet is shown.
constexpr UINT kSheetShownMessage = WM_APP + 0x51;

// The property sheet's callback carries no context of its own. There is at most one sheet at a
// time (OpenOptions guards it), and it runs on the calling thread.
struct SheetContext {
  const SheetShownHook* shown = nullptr;
  WNDPROC sheetProc = nullptr;
};
thread_local SheetContext* currentSheet = nullptr;

LRESULT CALLBACK SheetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SheetContext* context = currentSheet;
  const WNDPROC original = context ? context->sheetProc : nullptr;
  if (message == kSheetShownMessage && context) {
    if (*context->shown) (*context->shown)(window);
    return 0;
  }
  return original ? CallWindowProcW(original, window, message, wParam, lParam)
                  : DefWindowProcW(window, message, wParam, lParam);
}

int CALLBACK SheetCallback(HWND window, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED && currentSheet && *currentSheet->shown) {
    currentSheet->sheetProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SheetWindowProc)));
    PostMessageW(window, kSheetShownMessage, 0, 0);
  }
  return 0;
}

}  // namespace

OptionsPages CreateOptionsPages() {
  OptionsPages pages;
  // Languages, Interface, Buttons, Dictionary and Frequency stand before About, in that order.
  pages.push_back(std::make_unique<CPropAbout>());
  return pages;
}

void RegisterOptionsControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_TAB_CLASSES | ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);
}

bool ShowOptionsSheet(HWND parent, OptionsPages& pages, const SheetShownHook& shown) {
  if (pages.empty()) return false;
  RegisterOptionsControls();
  std::vector<PROPSHEETPAGEW> described;
  for (auto& page : pages) described.push_back(page->Describe());

  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
  header.hwndParent = parent;
  header.pszCaption = L"Options";
  header.nPages = static_cast<UINT>(described.size());
  header.nStartPage = 0;
  header.ppsp = described.data();
  header.pfnCallback = SheetCallback;

  SheetContext context;
  context.shown = &shown;
  SheetContext* const outer = currentSheet;
  currentSheet = &context;
  const INT_PTR result = PropertySheetW(&header);
  currentSheet = outer;
  return result > 0;
}

}  // namespace tessaline
