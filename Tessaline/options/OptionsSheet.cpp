#include "options/OptionsSheet.h"

#include <commctrl.h>

#include "options/PropAbout.h"
#include "options/PropButtons.h"
#include "options/PropFreq.h"
#include "options/PropInterface.h"
#include "options/PropLanguage.h"
#include "options/PropVoc.h"
#include "options/SheetLayout.h"

namespace tessaline {
namespace {

// Posted to the sheet when it is first created; it arrives once the modal loop runs, that is
// once the sheet is shown.
constexpr UINT kSheetShownMessage = WM_APP + 0x51;

// The property sheet's callback carries no context of its own; the sheet being created finds
// its context here, and from then on its window holds it as a property.
struct SheetContext {
  const SheetShownHook* shown = nullptr;
  WNDPROC sheetProc = nullptr;
};
SheetContext* creatingSheet = nullptr;
constexpr const wchar_t* kContextProperty = L"TessalineOptionsSheet";

LRESULT CALLBACK SheetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* context = static_cast<SheetContext*>(GetPropW(window, kContextProperty));
  if (!context) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC original = context->sheetProc;
  if (message == kSheetShownMessage) {
    (*context->shown)(window);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropW(window, kContextProperty);
  }
  return CallWindowProcW(original, window, message, wParam, lParam);
}

int CALLBACK SheetCallback(HWND window, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED) FitSheetToScreen(window);
  if (message == PSCB_INITIALIZED && creatingSheet && *creatingSheet->shown) {
    SetPropW(window, kContextProperty, creatingSheet);
    creatingSheet->sheetProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SheetWindowProc)));
    PostMessageW(window, kSheetShownMessage, 0, 0);
  }
  return 0;
}

}  // namespace

OptionsPages CreateOptionsPages() {
  OptionsPages pages;
  pages.push_back(std::make_unique<CPropLanguage>());
  pages.push_back(std::make_unique<CPropInterface>());
  pages.push_back(std::make_unique<CPropButtons>());
  pages.push_back(std::make_unique<CPropVoc>());
  pages.push_back(std::make_unique<CPropFreq>());
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
  SheetContext* const outer = creatingSheet;
  creatingSheet = &context;
  const INT_PTR result = PropertySheetW(&header);
  creatingSheet = outer;
  return result > 0;
}

}  // namespace tessaline
