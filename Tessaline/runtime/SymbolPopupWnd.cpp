#include "runtime/SymbolPopupWnd.h"

#include "keypad/ButtonEvents.h"
#include "runtime/RuntimeSeams.h"
#include "system/ProductIds.h"
#include "textfile/TextFile.h"
#include "win32/Handles.h"

namespace tessaline {

using namespace keypad;

CSymbolPopupWnd::~CSymbolPopupWnd() { DestroyWindowNow(); }

bool CSymbolPopupWnd::Create(HWND owner, const Skin* skin, const std::string& panelPath) {
  return Create(owner, skin, ReadTextFile(panelPath));
}

bool CSymbolPopupWnd::Create(HWND owner, const Skin* skin, const TextSection& root) {
  RegisterClassOnce(kSymbolsWindowClass, 0);
  owner_ = owner;
  if (!CreateWindowOf(WS_EX_NOACTIVATE | WS_EX_TOPMOST, kSymbolsWindowClass, L"", WS_POPUP, 0, 0,
                      0, 0, owner)) {
    return false;
  }
  SetPanel(skin, root);
  return true;
}

void CSymbolPopupWnd::SetPanel(const Skin* skin, const TextSection& root) {
  panel_.FreeButtons();
  panel_.SetSkin(skin);
  panel_.LoadLayout(root, "popup");
  const WideView symbols = PopupSymbols();
  for (size_t i = 0; i < symbols.size(); ++i) {
    panel_.SetCaption(kPopupFirstSymbolId + static_cast<int>(i), 0, WideString(1, symbols[i]));
  }
  RECT client{};
  if (Handle() && GetClientRect(Handle(), &client)) OnSize(client.right, client.bottom);
}

void CSymbolPopupWnd::Show(WideView languageName) {
  if (!Handle()) return;
  RECT owner{};
  if (owner_) GetWindowRect(owner_, &owner);
  const int width = owner.right - owner.left;
  const int height =
      static_cast<int>(static_cast<int64_t>(width) * panel_.DefaultSy() / panel_.DefaultSx());
  if (panel_.FindButton(kPopupLanguageId)) {
    panel_.SetCaption(kPopupLanguageId, 0, languageName.substr(0, 3));
  }
  const PopupScreen screen = PopupScreenOf(owner_);
  SetWindowPos(Handle(), nullptr, screen.left + screen.width / 2 - width / 2, owner.bottom - height,
               width, height, SWP_NOACTIVATE | SWP_NOZORDER);
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  InvalidateRect(Handle(), nullptr, FALSE);
}

void CSymbolPopupWnd::Hide() {
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

LRESULT CSymbolPopupWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      OnLButtonDown(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(PointOf(lParam));
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void CSymbolPopupWnd::OnDestroy() { panel_.FreeButtons(); }

void CSymbolPopupWnd::OnSize(int width, int height) {
  panel_.SetSize(width, height);
  panel_.SetClip(width, height);
}

void CSymbolPopupWnd::OnPaint() {
  win32::PaintScope paint(Handle());
  PaintPanel(panel_, paint.Get(), true);
}

void CSymbolPopupWnd::Redraw() {
  win32::WindowDc dc(Handle());
  if (dc.Get()) PaintPanel(panel_, dc.Get(), false);
}

void CSymbolPopupWnd::OnLButtonDown(POINT point) {
  SetCapture(Handle());
  panel_.PenDown(point.x, point.y);
  Redraw();
}

void CSymbolPopupWnd::OnLButtonUp(POINT point) {
  const LifeToken token = Token();
  const HWND self = Handle();
  // The tap's event may close the pop-up, or, through the options, see the input window and this
  // pop-up destroyed.
  const int tapped = panel_.PenUp(point.x, point.y, true);
  if (tapped >= 0) OnButtonTapped(tapped);
  if (!token.Alive()) {
    if (GetCapture() == self) ReleaseCapture();
    return;
  }
  if (Handle()) Redraw();
  ReleaseCapture();
}

bool CSymbolPopupWnd::SendOwnerEvent(int code) {
  const LifeToken token = Token();
  if (owner_ && IsWindow(owner_)) {
    SendMessageW(owner_, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(code), kFireEventCommand), 0);
  }
  return token.Alive();
}

void CSymbolPopupWnd::OnButtonTapped(int id) {
  int event = -1;
  if (id == kPopupLanguageId) {
    event = kNextLanguage;
  } else if (id == kPopupOptionsId) {
    event = kOptions;
  } else if (id >= kPopupFirstSymbolId &&
             id < kPopupFirstSymbolId + static_cast<int>(PopupSymbols().size())) {
    event = kFirstSymbol + (id - kPopupFirstSymbolId);
  }
  if (event >= 0 && !SendOwnerEvent(event)) return;
  SendOwnerEvent(kCloseSymbols);
}

}  // namespace tessaline
