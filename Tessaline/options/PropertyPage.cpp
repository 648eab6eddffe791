#include "options/PropertyPage.h"

#include "languages/InterfaceTexts.h"
#include "options/SheetLayout.h"

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
    return page->OnInitDialog(window);
  }
  auto* page = reinterpret_cast<CPropertyPage*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!page) return FALSE;
  switch (message) {
    case WM_NOTIFY:
      return page->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: {
      const HWND control = reinterpret_cast<HWND>(lParam);
      // A button that is disabled or hidden cannot be pressed by a person; a click that reaches
      // the page anyway (a BM_CLICK sent to it) changes nothing.
      if (HIWORD(wParam) == BN_CLICKED && control &&
          (!IsWindowEnabled(control) || !IsWindowVisible(control))) {
        return TRUE;
      }
      return page->OnCommand(LOWORD(wParam), HIWORD(wParam), control) ? TRUE : FALSE;
    }
    case WM_HSCROLL:
      return page->OnHScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam)) ? TRUE : FALSE;
    case WM_DESTROY:
      return page->OnDestroy();
    default:
      return FALSE;
  }
}

INT_PTR CPropertyPage::OnInitDialog(HWND window) {
  window_ = window;
  FitPageToSheet(window);
  BindControls();
  OnInitialize();
  initialized_ = true;
  return TRUE;
}

INT_PTR CPropertyPage::OnNotify(const NMHDR& header) {
  if (header.code != PSN_APPLY) return FALSE;
  OnOk();
  SetWindowLongPtrW(window_, DWLP_MSGRESULT, PSNRET_NOERROR);
  return TRUE;
}

INT_PTR CPropertyPage::OnDestroy() {
  SetWindowLongPtrW(window_, DWLP_USER, 0);
  window_ = nullptr;
  return FALSE;
}

void CPropertyPage::SetControlText(int id, WideView text) {
  const WideString terminated(text);
  SetWindowTextW(Control(id), reinterpret_cast<const wchar_t*>(terminated.c_str()));
}

void CPropertyPage::ShowControl(int id, bool shown) {
  ShowWindow(Control(id), shown ? SW_SHOW : SW_HIDE);
}

void CPropertyPage::EnableControl(int id, bool enabled) { EnableWindow(Control(id), enabled); }

}  // namespace tessaline
