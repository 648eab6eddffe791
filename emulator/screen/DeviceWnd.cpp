#include "screen/DeviceWnd.h"

#include <windows.h>
// The common controls' header needs the Windows header before it.
#include <commctrl.h>

#include <ctime>

#include "platform/DeviceNotify.h"
#include "platform/DeviceServices.h"
#include "platform/DeviceState.h"
#include "screen/DeviceLayout.h"

namespace tessaline::emulator {
namespace {

constexpr wchar_t kSipWindowClass[] = L"SipWndClass";
constexpr UINT_PTR kClockTimer = 1;
constexpr UINT kClockMilliseconds = 1000;
constexpr int kNotesId = 100;

}  // namespace

CDeviceWnd::CDeviceWnd() : directory_(CreateDeviceDirectory()) {}

CDeviceWnd::~CDeviceWnd() {
  // The input method goes before the windows it lives in.
  host_.reset();
  DestroyWindowNow();
}

bool CDeviceWnd::Create(const DeviceOptions& options) {
  trace_ = options.trace;
  static const bool registered = [] {
    WNDCLASSW sip{};
    sip.lpfnWndProc = SipWindowProc;
    sip.hInstance = GetModuleHandleW(nullptr);
    sip.hCursor = LoadCursor(nullptr, IDC_ARROW);
    sip.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    sip.lpszClassName = kSipWindowClass;
    return RegisterClassW(&sip) != 0;
  }();
  if (!registered || !RegisterClassOnce(device::kEmulatorWindowClass, 0,
                                        {LoadCursor(nullptr, IDC_ARROW),
                                         LoadIcon(nullptr, IDI_APPLICATION), nullptr})) {
    return false;
  }
  changedMessage_ = device::DeviceChangeMessage();
  const DWORD style = WS_POPUP | WS_CLIPCHILDREN;
  RECT frame{0, 0, kScreenWidth, kScreenHeight};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  HWND window = CreateWindowOf(0, device::kEmulatorWindowClass, L"Tessaline device screen", style,
                               options.position.x, options.position.y, frame.right - frame.left,
                               frame.bottom - frame.top, nullptr);
  return window && notes_ && sip_;
}

LRESULT CDeviceWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_PAINT:
      return OnPaint();
    case WM_LBUTTONDOWN:
      return OnLButtonDown(PointOf(lParam));
    case WM_TIMER:
      return OnTimer(wParam);
    case WM_COMMAND:
      // The picker's choices come without a control; the Notes box's notifications (its focus
      // coming and going) carry its identifier, which must not read as a choice.
      if (lParam == 0) return OnCommand(LOWORD(wParam));
      break;
    case WM_SETFOCUS:
      return OnSetFocus();
    case WM_CLOSE:
      // The host closes the device (Alt+F4 while it has the keys): the emulator ends, and the
      // device's windows stay until then so that its Notes text can still be read.
      PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
      return OnDestroy();
    case kLayoutNotesMessage:
      LayoutNotes();
      return 0;
    default:
      if (message == changedMessage_ && message != 0) return OnDeviceChange(wParam, lParam);
  }
  return DefaultHandling(message, wParam, lParam);
}

// The panel window only hosts the input method's window; the back colour shows before the
// input method paints its own.
LRESULT CALLBACK CDeviceWnd::SipWindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CDeviceWnd::OnCreate() {
  HWND window = Handle();
  notesFont_.Reset(CreateShellFont(13, false));
  notes_ = CreateWindowExW(0, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                               ES_WANTRETURN | ES_NOHIDESEL,
                           0, kTitleBarHeight, kScreenWidth, kMenuBarTop - kTitleBarHeight, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNotesId)),
                           GetModuleHandleW(nullptr), nullptr);
  if (notes_) {
    SendMessageW(notes_, WM_SETFONT, reinterpret_cast<WPARAM>(notesFont_.Get()), FALSE);
    SendMessageW(notes_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(3, 3));
  }
  panelRect_ = RECT{0, kMenuBarTop - kDefaultPanelHeight, kScreenWidth, kMenuBarTop};
  sip_ = CreateWindowExW(0, kSipWindowClass, L"SIP", WS_CHILD | WS_CLIPCHILDREN, panelRect_.left,
                         panelRect_.top, kScreenWidth, kDefaultPanelHeight, window, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  picker_.Create(window);
  if (sip_) {
    host_ = std::make_unique<SipHost>(sip_, *this);
    host_->SetTrace(trace_);
  }
  UpdateClock(false);
  SetTimer(window, kClockTimer, kClockMilliseconds, nullptr);
  if (notes_) SetFocus(notes_);
  return notes_ && sip_ ? 0 : -1;
}

LRESULT CDeviceWnd::OnDestroy() {
  KillTimer(Handle(), kClockTimer);
  if (host_) host_->Deactivate();
  return 0;
}

LRESULT CDeviceWnd::OnPaint() {
  win32::PaintScope paint(Handle());
  chrome_.panelShown = host_ && host_->IsShown();
  chrome_.pickerOpen = picker_.IsOpen();
  DrawTitleBar(paint.Get(), chrome_);
  DrawMenuBar(paint.Get(), chrome_);
  return 0;
}

LRESULT CDeviceWnd::OnLButtonDown(POINT point) {
  if (PtInRect(&kPanelButton, point)) {
    picker_.Close();
    TogglePanel();
  } else if (PtInRect(&kPickerArrow, point)) {
    if (picker_.IsOpen()) {
      picker_.Close();
      InvalidateRect(Handle(), &kPickerArrow, FALSE);
    } else {
      OpenPicker();
    }
  } else {
    picker_.Close();
  }
  return 0;
}

LRESULT CDeviceWnd::OnTimer(UINT_PTR id) {
  if (id == kClockTimer) UpdateClock(true);
  return 0;
}

LRESULT CDeviceWnd::OnDeviceChange(WPARAM kind, LPARAM) {
  // The notification is posted: by the time it arrives a later call may have changed the state
  // again, so the state is read now rather than taken from the message.
  switch (kind) {
    case device::kPanelChanged:
      ApplyPanel((device::SipFlags() & SIPF_ON) != 0);
      break;
    case device::kCurrentImChanged:
      FollowCurrentInputMethod();
      break;
    case device::kSoftResetRequested:
      // Only while the request stands: a start since then has answered it already.
      if (softReset_ && device::SoftResetRequested()) softReset_();
      break;
    default:
      break;
  }
  return 0;
}

LRESULT CDeviceWnd::OnCommand(UINT id) {
  if (id == kPickOptions) {
    OpenOptions();
  } else if (id >= kPickInputMethod && id - kPickInputMethod < pickerEntries_.size()) {
    directory_->SetCurrent(pickerEntries_[id - kPickInputMethod].clsid);
    FollowCurrentInputMethod();
  }
  InvalidateRect(Handle(), nullptr, FALSE);
  return 0;
}

LRESULT CDeviceWnd::OnSetFocus() {
  if (notes_) SetFocus(notes_);
  return 0;
}

bool CDeviceWnd::StartInputMethod(std::wstring& error) {
  CLSID clsid{};
  bool current = false;
  if (!ChooseInputMethod(*directory_, clsid, &current)) {
    error = L"no input method is installed on the device";
    return false;
  }
  // A device always has a current input method: the one chosen here becomes it.
  if (!current) directory_->SetCurrent(clsid);
  return host_->Activate(clsid, error);
}

void CDeviceWnd::FollowCurrentInputMethod() {
  if (!host_) return;
  CLSID clsid{};
  if (!ChooseInputMethod(*directory_, clsid)) return;
  if (host_->IsActive() && clsid == host_->Current()) return;
  std::wstring error;
  if (!host_->Activate(clsid, error) && trace_) {
    std::fprintf(trace_, "switch failed: %ls\n", error.c_str());
  }
  InvalidateRect(Handle(), nullptr, FALSE);
}

void CDeviceWnd::ShowPanel() {
  SipShowIM(SIPF_ON);
  ApplyPanel(true);
}

void CDeviceWnd::HidePanel() {
  SipShowIM(SIPF_OFF);
  ApplyPanel(false);
}

void CDeviceWnd::TogglePanel() { host_->IsShown() ? HidePanel() : ShowPanel(); }

void CDeviceWnd::ApplyPanel(bool shown) {
  if (!host_ || host_->IsShown() == shown) return;
  shown ? host_->Show() : host_->Hide();
  Layout();
}

void CDeviceWnd::OpenPicker() {
  pickerEntries_ = directory_->Enumerate();
  picker_.Open(pickerEntries_, host_->Current());
  InvalidateRect(Handle(), &kPickerArrow, FALSE);
}

void CDeviceWnd::OpenOptions() {
  picker_.Close();
  host_->Options(Handle());
  // As the shell does when a modal window of the panel closes: the application's text box has
  // the focus again (the device window may not be activated to hand it on by itself).
  if (notes_ && IsWindow(notes_)) SetFocus(notes_);
}

std::wstring CDeviceWnd::NotesText() const {
  const int length = GetWindowTextLengthW(notes_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(notes_, text.data(), length + 1)));
  std::wstring plain;
  plain.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    plain.push_back(text[i]);
  }
  return plain;
}

POINT CDeviceWnd::DeviceOrigin() {
  POINT origin{0, 0};
  ClientToScreen(Handle(), &origin);
  return origin;
}

void CDeviceWnd::OnPanelRect(const RECT& deviceRect) {
  panelRect_ = deviceRect;
  Layout();
}

void CDeviceWnd::OnTaskbarIcon(HANDLE imageList) {
  chrome_.taskbarIcon = static_cast<HIMAGELIST>(imageList);
  if (Handle()) {
    const RECT icon = kTitleIcon;
    InvalidateRect(Handle(), &icon, FALSE);
  }
}

// Text and keys go to the focused window of the device (a dialog's field while the options are
// open), but never to the panel itself; otherwise to the Notes box.
HWND CDeviceWnd::KeyTarget() {
  HWND focus = GetFocus();
  if (!focus || focus == sip_ || IsChild(sip_, focus) || focus == Handle()) return notes_;
  // A pop-up of the input method never takes the focus on a device; Wine may still hand it the
  // focus when the options sheet closes. Keys meant for the application go to Notes then.
  const HWND top = GetAncestor(focus, GA_ROOT);
  if (GetWindowLongW(top, GWL_EXSTYLE) & WS_EX_NOACTIVATE) return notes_;
  return focus;
}

void CDeviceWnd::Layout() {
  if (!Handle()) return;
  SetWindowPos(sip_, nullptr, panelRect_.left, panelRect_.top, panelRect_.right - panelRect_.left,
               panelRect_.bottom - panelRect_.top, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT menu{0, kMenuBarTop, kScreenWidth, kScreenHeight};
  InvalidateRect(Handle(), &menu, FALSE);
  // The application hears of the panel once the panel is in place, as a device's shell tells
  // it with a settings-change notice: resizing a Notes box full of text wraps every line again
  // (10 to 15 ms under Wine), which must not hold up the panel's first picture.
  if (!notesLayoutPosted_) {
    notesLayoutPosted_ = PostMessageW(Handle(), kLayoutNotesMessage, 0, 0) != FALSE;
    if (!notesLayoutPosted_) LayoutNotes();
  }
}

void CDeviceWnd::LayoutNotes() {
  notesLayoutPosted_ = false;
  if (!notes_) return;
  const bool shown = host_ && host_->IsShown();
  const int notesBottom = shown ? panelRect_.top : kMenuBarTop;
  RECT now{};
  GetWindowRect(notes_, &now);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&now), 2);
  const RECT wanted{0, kTitleBarHeight, kScreenWidth, notesBottom};
  if (EqualRect(&now, &wanted)) return;
  SetWindowPos(notes_, nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
               wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(notes_, EM_SCROLLCARET, 0, 0);
}

void CDeviceWnd::UpdateClock(bool repaint) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t text[16];
  swprintf(text, 16, L"%d:%02d", now.wHour, now.wMinute);
  if (chrome_.clock == text) return;
  chrome_.clock = text;
  if (repaint && Handle()) InvalidateRect(Handle(), &kTitleClock, FALSE);
}

}  // namespace tessaline::emulator
