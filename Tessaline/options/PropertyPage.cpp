#include "options/PropertyPage.h"

#include "languages/InterfaceTexts.h"

namespace tessaline {

CPropertyPage::CPropertyPage(int tabText, WideView layoutCaption)
    : tabText_(tabText),
      layout_(DS_3DLOOK | DS_CONTROL | WS_CHILD | WS_DISABLED | WS_CAPTION, kPageWidth, kPageHeight,
              layoutCaption) {}

PROPSHEETPAGEW CPropertyPage::Describe() {
  // The tab shows the page's interface text from the start.
  tabCaption_ = InterfaceText(tabText_);
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
  page.pResource = layout_.Get();
  page.pszTitle = reinterpret_cast<const wchar_t*>(tabCaption_.c_str());
  page.pfnDlgProc = DialogProc;
  page.lParam = reinterpret_cast<LPARAM>(this);
  return page;
}

INT_PTR CALLBACK CPropertyPage::DialogProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* page =
        reinterpret_cast<CPropertyPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
    page->window_ = window;
    page->BindControls();
    page->OnInitialize();
    page->initialized_ = true;
    return TRUE;
  }
  auto* page = reinterpret_cast<CPropertyPage*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!page) return FALSE;
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == PSN_APPLY) {
        page->OnOk();
        SetWindowLongPtrW(window, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
      }
      return FALSE;
    }
    case WM_COMMAND:
      return page->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))
                 ? TRUE
                 : FALSE;
    case WM_DESTROY:
      page->window_ = nullptr;
      SetWindowLongPtrW(window, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace tessaline
