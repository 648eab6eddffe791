// The input window's life, its messages, the layout plane and its painting. What the buttons do
// is in InputEvents.cpp.
#include "runtime/InputWnd.h"

#include <cmath>

#include "engine/ActiveLanguages.h"
#include "engine/UserDictionaryFile.h"
#include "languages/KeyMap.h"
#include "runtime/CandidateWnd.h"
#include "runtime/LayoutPlane.h"
#include "runtime/PressedWnd.h"
#include "runtime/SettingsArguments.h"
#include "runtime/SymbolPopupWnd.h"
#include "settings/Settings.h"
#include "system/Clock.h"
#include "system/DataFiles.h"
#include "system/Messages.h"
#include "system/ProductIds.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

constexpr int kLayoutStripResource = 246;
constexpr int kStripCellWidth = 86;
constexpr int kStripCellHeight = 62;
constexpr UINT kSlideMilliseconds = 50;
constexpr float kSlideStep = 0.3f;
constexpr float kSlideSnap = 0.03f;
constexpr UINT kFirstHoldMilliseconds = 500;

}  // namespace

const char* LayoutName(int index) { return LayoutPlaceOf(index).name; }

int LayoutIndexOf(WideView name) {
  for (int i = 0; i < kLayoutCount; ++i) {
    if (WideToUtf8(name) == LayoutName(i)) return i;
  }
  return 0;
}

CInputWnd::CInputWnd(IIMCallback* callback, InputWindowOwner* owner)
    : delivery_(callback), owner_(owner) {
  layoutIndex_ = LayoutIndexOf(SettingsText(GetSettings().ActiveLayout));
  viewX_ = static_cast<float>(LayoutPlaceOf(layoutIndex_).gridX);
  viewY_ = static_cast<float>(LayoutPlaceOf(layoutIndex_).gridY);
  CreatePanelFonts();
}

CInputWnd::~CInputWnd() {
  DestroyWindowNow();
  DeletePanelFonts();
}

HWND CInputWnd::Create(HWND parent, const RECT& rect, bool languageAfterPaint) {
  languageAfterPaint_ = languageAfterPaint;
  RegisterClassOnce(kInputWindowClass, CS_HREDRAW | CS_VREDRAW);
  return CreateWindowOf(0, kInputWindowClass, L"Input window", WS_CHILD | WS_VISIBLE, rect.left,
                        rect.top, rect.right - rect.left, rect.bottom - rect.top, parent);
}

LRESULT CInputWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
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
      return 1;  // every pixel comes from the back buffer
    case WM_LBUTTONDOWN:
      OnLButtonDown(PointOf(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(PointOf(lParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_COMMAND:
      if (lParam == 0) {
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
      }
      break;
    case kTellFailuresMessage:
      OnTellFailures();
      return 0;
    case kReadLanguageMessage:
      TakePendingLanguage();
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

// ---------------------------------------------------------------- life

void CInputWnd::TellFailuresLater() {
  if (Handle() && UserFileFailuresToTell()) PostMessageW(Handle(), kTellFailuresMessage, 0, 0);
}

void CInputWnd::OnTellFailures() {
  // Between events: a message box runs a loop of its own, in which the pen may reach the panel.
  TellUserFileFailures();
}

bool CInputWnd::OnCreate() {
  candidates_ = std::make_unique<CCandidateWnd>();
  candidates_->Create(Handle());
  candidates_->Attach(&composer_.Candidates());
  pressed_ = std::make_unique<CPressedWnd>();
  pressed_->Create(Handle());
  strip_.Reset(
      static_cast<HBITMAP>(LoadImageW(BitmapModule(), MAKEINTRESOURCEW(kLayoutStripResource),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  symbols_ = std::make_unique<CSymbolPopupWnd>();
  LoadPanels();
  RECT client{};
  GetClientRect(Handle(), &client);
  candidates_->PrepareBuffer(client.right);

  ShowCaseAndMode();
  SetUserButtons();

  ShowFirstLanguage();
  ResetInput();
  return true;
}

void CInputWnd::ShowFirstLanguage() {
  if (languageAfterPaint_ && ActiveLanguageCount() >= 1 && !ActiveLanguageRead(0)) {
    // The panel first: the keys' captions come from the language file alone (its messages come
    // once, when the language is read).
    KeyMap keys;
    const MessageHandler previous = SetMessageHandler([](const MessageCall&) { return 1; });
    keys.LoadKeyMap(ActiveLanguagePath(0));
    SetMessageHandler(previous);
    ShowKeyCaptions(keys);
    if (!languagePending_) PostMessageW(Handle(), kReadLanguageMessage, 0, 0);
    languagePending_ = true;
  } else {
    languagePending_ = false;
    composer_.UseFirstLanguage();
  }
}

void CInputWnd::TakePendingLanguage() {
  if (!languagePending_ || !Handle()) return;
  languagePending_ = false;
  composer_.UseFirstLanguage();
  // What Showing does for the language it shows.
  if (GetSettings().AdaptiveVoc) {
    if (Language* language = CurrentLanguage()) language->DailyDecay();
  }
  TellFailuresLater();
}

void CInputWnd::LoadPanels() {
  panelPath_ = PanelFilePath().narrow;
  panelStamp_ = StampOfDataFile(panelPath_);
  tinted_ = GetSettings().ThemeFilter;
  themeColor_ = ThemeColor();
  // Read once for the skin and the six layouts.
  const TextSection root = ReadTextFile(panelPath_);
  auto skin = std::make_unique<Skin>();
  LoadSkin(*skin, root, panelPath_, tinted_);
  RECT client{};
  GetClientRect(Handle(), &client);
  for (int i = 0; i < kLayoutCount; ++i) {
    Panel& panel = panels_[static_cast<size_t>(i)];
    panel.FreeButtons();
    panel.SetSkin(skin.get());
    panel.LoadLayout(root, LayoutName(i));
    panel.SetSize(client.right, client.bottom);
    panel.SetClip(client.right, client.bottom);
  }
  PlaceLayouts();
  if (pressed_) {
    pressed_->Hide();
    pressed_->SetSkin(skin.get());
  }
  if (symbols_) {
    if (symbols_->Handle()) {
      symbols_->SetPanel(skin.get(), root);
    } else {
      symbols_->Create(Handle(), skin.get(), root);
    }
  }
  // The old skin goes only now: nothing points at it any more.
  skin_ = std::move(skin);
}

bool CInputWnd::PanelsOutOfDate() const {
  return panelPath_ != PanelFilePath().narrow || tinted_ != GetSettings().ThemeFilter ||
         (tinted_ && themeColor_ != ThemeColor()) ||
         !(panelStamp_ == StampOfDataFile(panelPath_));
}

bool CInputWnd::ApplySettings() {
  if (!Handle() || !skin_) return false;
  KillTimer(Handle(), kSlideTimer);
  KillTimer(Handle(), kMultiTapTimer);
  // The languages the composer searches may go with the new list.
  composer_.DropLanguage();
  LoadChosenLanguages(!languageAfterPaint_);
  layoutIndex_ = LayoutIndexOf(SettingsText(GetSettings().ActiveLayout));
  returnLayout_ = 0;
  viewX_ = static_cast<float>(LayoutPlaceOf(layoutIndex_).gridX);
  viewY_ = static_cast<float>(LayoutPlaceOf(layoutIndex_).gridY);
  // Without a language the keys keep the panel file's own captions, as a new window has them.
  const bool reread = PanelsOutOfDate() || ActiveLanguageCount() == 0;
  if (reread) {
    LoadPanels();
  } else {
    PlaceLayouts();
  }
  ShowCaseAndMode();
  SetUserButtons();
  ShowFirstLanguage();
  ResetInput();
  InvalidateRect(Handle(), nullptr, FALSE);
  return reread;
}

void CInputWnd::OnDestroy() {
  composer_.EndPress();
  // Every timer goes now: a tick that was already queued finds no window to act on.
  KillTimer(Handle(), kHoldTimer);
  KillTimer(Handle(), kMultiTapTimer);
  KillTimer(Handle(), kSlideTimer);
  pressed_.reset();
  candidates_.reset();
  candidatesShown_ = false;
  symbols_.reset();
  for (Panel& panel : panels_) {
    panel.FreeButtons();
    panel.SetSkin(nullptr);
  }
  skin_.reset();
  backBuffer_.Reset();
  strip_.Reset();
  // The languages belong to the active language list, which the owner frees after the window:
  // nothing here may point at them any more.
  composer_.DropLanguage();
}

void CInputWnd::OnSize(int width, int height) {
  // A size the buffer has already (the same size again) keeps it.
  if (!backBuffer_.Ensure(nullptr, width, height)) backBuffer_.Reset();
  for (Panel& panel : panels_) {
    panel.SetSize(width, height);
    panel.SetClip(width, height);
  }
  PlaceLayouts();
}

// ---------------------------------------------------------------- pen

void CInputWnd::OnLButtonDown(POINT point) {
  // While the symbols pop-up is up this window is disabled; a pen message sent to it anyway is
  // not a touch.
  if (!IsWindowEnabled(Handle())) return;
  TakePendingLanguage();
  composer_.PenLeft();  // a press whose release this window never saw
  downTime_ = MillisecondClock();
  SetCapture(Handle());
  int pressedEvent = -1;
  for (Panel& panel : panels_) {
    const int pressed = panel.PenDown(point.x, point.y);
    if (pressed < 0) continue;
    if (skin_) ShowPressedKey(&panel, pressed);
    if (const Button* button = panel.FindButton(pressed)) pressedEvent = button->event0;
  }
  Redraw(false);
  // The first key of a word: the candidate window opens now, empty, and the words fill it at the
  // pen up. Showing a top-level window is a trip to the window server (2 to 4 ms under Wine,
  // more on a busy machine), which the pen's time on the key hides; so is the look at the
  // language's files that a word's first key makes.
  if (!candidatesShown_ && composer_.SearchesOnTap(pressedEvent)) {
    composer_.CheckLanguageBeforeWord();
    PlaceCandidates();
    candidatesOpenedEarly_ = true;
  }
  composer_.EndPress();
  holdInterval_ = kFirstHoldMilliseconds;
  SetTimer(Handle(), kHoldTimer, kFirstHoldMilliseconds, nullptr);
  downPoint_ = movePoint_ = point;
}

void CInputWnd::OnMouseMove(POINT point) { movePoint_ = point; }

void CInputWnd::OnLButtonUp(POINT point) {
  if (!IsWindowEnabled(Handle()) && GetCapture() != Handle()) return;
  TakePendingLanguage();
  const LifeToken token = Token();
  movePoint_ = point;
  const int32_t gate = GetSettings().NoiseGate;
  bool tap = !(gate > 0 && MillisecondClock() - downTime_ < static_cast<uint32_t>(gate));
  if (tap) {
    RECT client{};
    GetClientRect(Handle(), &client);
    const Swipe swipe =
        ClassifySwipe(downPoint_.x, downPoint_.y, point.x, point.y, client.right, client.bottom);
    if (swipe != Swipe::kNone) {
      SwitchLayout(LayoutNeighbour(layoutIndex_, swipe));
      tap = false;
    }
  }
  for (Panel& panel : panels_) {
    const int tapped = panel.PenUp(point.x, point.y, tap);
    if (tapped >= 0) OnButtonTapped(&panel, tapped);
    if (!token.Alive()) return;
  }
  if (!Handle()) return;  // the tap's event closed the window
  // Opened at the pen down for a tap that did not come (a swipe, a touch under the noise gate,
  // a hold that typed its digit): nothing to show.
  if (candidatesOpenedEarly_ && candidatesShown_ && !composer_.Composing()) HideCandidates();
  candidatesOpenedEarly_ = false;
  composer_.PenLeft();
  Redraw(false);
  if (GetCapture() == Handle()) ReleaseCapture();
  composer_.EndPress();
  KillTimer(Handle(), kHoldTimer);
  // In letter mode and while spelling, the pop-up of a letter key stays to show what comes next.
  if (!composer_.ShowsLetters(composer_.LastEvent()) && pressed_) pressed_->Hide();
}

// ---------------------------------------------------------------- timers and commands

void CInputWnd::OnTimer(UINT_PTR id) {
  if (!skin_) return;  // a tick after the window's parts were freed
  TakePendingLanguage();
  switch (id) {
    case kHoldTimer:
      OnHoldTimer();
      break;
    case kMultiTapTimer:
      OnMultiTapTimer();
      break;
    case kSlideTimer:
      OnSlideTimer();
      break;
    default:
      break;
  }
}

void CInputWnd::OnHoldTimer() {
  const LifeToken token = Token();
  bool stopped = false;
  holdTimerStopped_ = &stopped;
  for (Panel& panel : panels_) {
    const int id = panel.PressedButtonId();
    if (id < 0) continue;
    FireButton(&panel, id, true);
    break;
  }
  if (!token.Alive()) return;
  holdTimerStopped_ = nullptr;
  // A held button fires at 500 ms, at 999 ms and then every 250 ms; the case and mode keys stop
  // the timer when they fire, and it stays stopped.
  if (stopped || !Handle()) return;
  const int next = holdInterval_ == 500 ? 499 : 250;
  if (next != holdInterval_) {
    holdInterval_ = next;
    SetTimer(Handle(), kHoldTimer, static_cast<UINT>(next), nullptr);
  }
}

void CInputWnd::OnMultiTapTimer() {
  composer_.MultiTapTimeout();
  KillTimer(Handle(), kMultiTapTimer);
}

void CInputWnd::OnCommand(WORD id, WORD code) {
  // The pop-ups' notifications: the candidate window's tap that commits a word (code 0, the
  // commit button's id) and the events of the symbols pop-up.
  if (!skin_) return;  // a late command after the window's parts were freed
  TakePendingLanguage();
  if (code == 0) {
    OnButtonTapped(nullptr, id);
  } else if (code == kFireEventCommand) {
    Keypad().CarryOut(id);
  }
}

// ---------------------------------------------------------------- layouts and view

void CInputWnd::SwitchLayout(int target) {
  if (target == kLayoutBack) {
    target = returnLayout_;
  } else if (target >= 0) {
    if (LayoutPlaceOf(layoutIndex_).gridY == 0 && LayoutPlaceOf(target).gridY != 0) {
      returnLayout_ = layoutIndex_;
    }
  } else {
    return;
  }
  layoutIndex_ = target;
  SetTimer(Handle(), kSlideTimer, kSlideMilliseconds, nullptr);
}

void CInputWnd::OnSlideTimer() {
  const LayoutPlace& place = LayoutPlaceOf(layoutIndex_);
  const float tx = static_cast<float>(place.gridX), ty = static_cast<float>(place.gridY);
  if (std::fabs(viewX_ - tx) < kSlideSnap && std::fabs(viewY_ - ty) < kSlideSnap) {
    viewX_ = tx;
    viewY_ = ty;
    SetActiveLayout(place.name);
    const LifeToken token = Token();
    if (owner_) owner_->LayoutChanged();
    if (!token.Alive() || !Handle()) return;
    KillTimer(Handle(), kSlideTimer);
  } else {
    viewX_ += (tx - viewX_) * kSlideStep;
    viewY_ += (ty - viewY_) * kSlideStep;
  }
  PlaceLayouts();
  Redraw(true);
}

void CInputWnd::PlaceLayouts() {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  for (int i = 0; i < kLayoutCount; ++i) {
    const LayoutPlace& place = LayoutPlaceOf(i);
    const float x = (static_cast<float>(place.gridX) - viewX_) * static_cast<float>(client.right);
    const float y = (static_cast<float>(place.gridY) - viewY_) * static_cast<float>(client.bottom);
    panels_[static_cast<size_t>(i)].SetOrigin(TruncToInt(x), TruncToInt(y));
  }
}

// ---------------------------------------------------------------- painting

void CInputWnd::OnPaint() {
  win32::PaintScope paint(Handle());
  PaintTo(paint.Get(), true);
}

void CInputWnd::Redraw(bool full) {
  if (!Handle()) return;
  win32::WindowDc dc(Handle());
  if (dc.Get()) PaintTo(dc.Get(), full);
}

void CInputWnd::PaintTo(HDC dc, bool full) {
  RECT client{};
  GetClientRect(Handle(), &client);
  if (!backBuffer_ || client.right < 1 || client.bottom < 1 || !skin_) return;
  const LayoutPlace& place = LayoutPlaceOf(layoutIndex_);
  const bool sliding =
      viewX_ != static_cast<float>(place.gridX) || viewY_ != static_cast<float>(place.gridY);
  // While sliding the picture carries the strip, so every step is drawn whole.
  if (sliding) full = true;
  const HDC buffer = backBuffer_.Dc();
  if (full) {
    const COLORREF oldColor = SetDCBrushColor(buffer, SkinColor(*skin_, 0));
    FillRect(buffer, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(buffer, oldColor);
  }
  for (Panel& panel : panels_) PaintPanel(panel, buffer, full);
  if (!sliding || !strip_) {
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
    return;
  }
  // The target layout's picture from the strip, laid over the panels by exclusive or; laid
  // again after the copy, which takes it off the buffer, so later partial redraws start clean.
  win32::MemoryDc stripDc(dc);
  win32::SelectScope stripScope(stripDc.Get(), strip_.Get());
  const int oldMode = SetStretchBltMode(buffer, COLORONCOLOR);
  const auto invert = [&] {
    StretchBlt(buffer, 0, 0, client.right, client.bottom, stripDc.Get(),
               layoutIndex_ * kStripCellWidth, 0, kStripCellWidth, kStripCellHeight, SRCINVERT);
  };
  invert();
  BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
  invert();
  SetStretchBltMode(buffer, oldMode);
}

RECT CInputWnd::ScreenRect() const {
  RECT r{};
  if (Handle()) GetWindowRect(Handle(), &r);
  return r;
}

}  // namespace tessaline
