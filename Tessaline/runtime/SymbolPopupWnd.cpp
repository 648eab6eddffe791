#include "runtime/SymbolPopupWnd.h"

#include "runtime/RuntimeSeams.h"
#include "win32/Handles.h"

namespace tessaline {
namespace {

constexpr wchar_t kClassName[] = L"TessalineSymbols";
constexpr char16_t kSymbols[] = u"'\"()@/:_;+&%*=<>[]|$#^";
constexpr int kSymbolCount = 22;
constexpr int kCloseEvent = 300;
constexpr int kOptionsEvent = 301;
constexpr int kNextLanguageEvent = 302;
constexpr int kFirstSymbolEvent = 400;

}  // namespace

WideView PopupSymbols() { return WideView(kSymbols, kSymbolCount); }

char16_t PopupSymbol(int index) {
  return index >= 0 && index < kSymbolCount ? kSymbols[index] : u'?';
}

CSymbolPopupWnd::~CSymbolPopupWnd() { DestroyWindowNow(); }

bool CSymbolPopupWnd::Create(HWND owner, const Skin* skin, const std::string& panelPath) {
  RegisterClassOnce(kClassName, 0);
  owner_ = owner;
  skin_ = skin;
  panelPath_ = panelPath;
  return CreateWindowOf(WS_EX_NOACTIVATE | WS_EX_TOPMOST, kClassName, L"", WS_POPUP, 0, 0, 0, 0,
                        owner) != nullptr;
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
    case WM_CREATE:
      OnCreate();
      return 0;
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
    case WM_COMMAND:
      if (lParam == 0) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void CSymbolPopupWnd::OnCreate() {
  panelOwner_.SetWindow(Handle());
  panel_.SetOwner(&panelOwner_);
  panel_.SetSkin(skin_);
  panel_.LoadLayout(panelPath_, "popup");
  for (int i = 0; i < kSymbolCount; ++i) {
    panel_.SetCaption(kPopupFirstSymbolId + i, 0, WideString(1, kSymbols[i]));
  }
}

void CSymbolPopupWnd::OnDestroy() {
  panel_.FreeButtons();
  panel_.SetOwner(nullptr);
  panelOwner_.SetWindow(nullptr);
}

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
  // The tap comes back to this window as a command, which may close the pop-up, or, through
  // the options, see the input window and this pop-up destroyed.
  panel_.PenUp(point.x, point.y, true);
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

void CSymbolPopupWnd::OnCommand(WORD id, WORD code) {
  if (code != 0) return;
  int event = -1;
  if (id == kPopupLanguageId) {
    event = kNextLanguageEvent;
  } else if (id == kPopupOptionsId) {
    event = kOptionsEvent;
  } else if (id >= kPopupFirstSymbolId && id < kPopupFirstSymbolId + kSymbolCount) {
    event = kFirstSymbolEvent + (id - kPopupFirstSymbolId);
  }
  if (event >= 0 && !SendOwnerEvent(event)) return;
  SendOwnerEvent(kCloseEvent);
}

}  // namespace tessaline
