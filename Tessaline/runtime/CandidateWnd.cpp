#include "runtime/CandidateWnd.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "keypad/ButtonEvents.h"
#include "languages/InterfaceTexts.h"
#include "runtime/TextCase.h"
#include "settings/Settings.h"
#include "system/ProductIds.h"

namespace tessaline {
namespace {

constexpr int kDragStartX = 40;  // smoothed pen travel that starts a drag
constexpr int kDragStartY = 15;
constexpr int kPageX = 40;  // smoothed travel at the end of a drag that turns the page
constexpr int kPageY = 20;

win32::Font MakeArial(int weight) {
  const win32::CreatedDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  const int dpi = display ? GetDeviceCaps(display.Get(), LOGPIXELSY) : 96;
  LOGFONTW font{};
  font.lfHeight = -(10 * dpi / 72);
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(font.lfFaceName, L"Arial");
  return win32::Font(CreateFontIndirectW(&font));
}

SIZE TextExtent(HDC dc, const WideString& text) {
  SIZE size{};
  if (!text.empty()) {
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                          static_cast<int>(text.size()), &size);
  }
  return size;
}

// The DC's own brush and pen colours serve every cell: no brush or pen is made per paint.
void FramedRectangle(HDC dc, const RECT& r, COLORREF fill) {
  const COLORREF oldFill = SetDCBrushColor(dc, fill);
  win32::SelectScope pen(dc, GetStockObject(BLACK_PEN));
  win32::SelectScope scope(dc, GetStockObject(DC_BRUSH));
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  SetDCBrushColor(dc, oldFill);
}

}  // namespace

int CandidateSlot(int k, int j) {
  if (k == 3) {
    static constexpr int kSlots[3] = {1, 0, 2};
    return j >= 0 && j < 3 ? kSlots[j] : j;
  }
  return j;
}

RECT CandidateCellRect(int width, int height, int k, int s) {
  if (k < 1) return RECT{};
  return RECT{(width - 1) * s / k + 1, 1, (width - 1) * (s + 1) / k + 1, height - 1};
}

CCandidateWnd::CCandidateWnd() : boldFont_(MakeArial(FW_BOLD)), normalFont_(MakeArial(FW_NORMAL)) {}

CCandidateWnd::~CCandidateWnd() { DestroyWindowNow(); }

bool CCandidateWnd::Create(HWND owner) {
  RegisterClassOnce(kCandidateWindowClass, 0);
  owner_ = owner;
  paintPending_ = false;
  copyTimer_ = false;
  return CreateWindowOf(WS_EX_NOACTIVATE | WS_EX_TOPMOST, kCandidateWindowClass, L"",
                        WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, owner) != nullptr;
}

void CCandidateWnd::SetList(std::vector<WideString> entries, int typedKeys) {
  list_->SetList(std::move(entries), typedKeys);
  ListReplaced();
}

void CCandidateWnd::ListReplaced() {
  pressed_ = -1;
  StopCopyTimer();
  Repaint();
}

void CCandidateWnd::Select(int index) { SelectionChanged(list_->Select(index)); }

void CCandidateWnd::SelectionChanged(bool copiedFirstWord) {
  StopCopyTimer();
  // The copied word stands in the spelling entry for two seconds, and stays when the user
  // starts editing it.
  if (copiedFirstWord && Handle())
    copyTimer_ = SetTimer(Handle(), kSpelledCopyTimer, kSpelledCopyMilliseconds, nullptr) != 0;
  Repaint();
}

void CCandidateWnd::SpelledChanged() {
  StopCopyTimer();
  Repaint();
}

int CCandidateWnd::NextIndex() const { return list_->NextIndex(CandidateStep()); }

void CCandidateWnd::AppendSpelled(char16_t ch) {
  list_->AppendSpelled(ch);
  SpelledChanged();
}

bool CCandidateWnd::RemoveLastSpelled() {
  StopCopyTimer();
  if (!list_->RemoveLastSpelled()) return false;
  Repaint();
  return true;
}

void CCandidateWnd::SetNoMatch(bool noMatch) {
  list_->SetNoMatch(noMatch);
  Repaint();
}

void CCandidateWnd::SetCaseState(int caseState) {
  caseState_ = caseState;
  Repaint();
}

int CCandidateWnd::WindowHeight() const {
  // The font never changes, so neither does the height: measured once, not at every key.
  if (height_ > 0) return height_;
  const win32::WindowDc screen(nullptr);
  SIZE size{};
  {
    win32::SelectScope font(screen.Get(), boldFont_.Get());
    GetTextExtentPoint32W(screen.Get(), L"OqOO", 4, &size);
  }
  height_ = 2 * size.cy;
  return height_;
}

void CCandidateWnd::PrepareBuffer(int width) { buffer_.Ensure(nullptr, width, WindowHeight()); }

void CCandidateWnd::StopCopyTimer() {
  // Only a running timer is stopped: every KillTimer is a trip to the window server.
  if (copyTimer_ && Handle()) KillTimer(Handle(), kSpelledCopyTimer);
  copyTimer_ = false;
}

void CCandidateWnd::Place(const RECT* inputWindow) {
  if (!Handle()) return;
  StopCopyTimer();
  // Placed where it is already, the window is left alone: moving or sizing a top-level window
  // costs a trip to the display.
  constexpr UINT kFlags = SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOCOPYBITS;
  RECT now{};
  GetWindowRect(Handle(), &now);
  if (!inputWindow) {
    if (!IsRectEmpty(&now) || now.left != 0 || now.top != 0) {
      SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, kFlags);
    }
    // A window without size may never be asked to paint: the next change asks again.
    paintPending_ = false;
    return;
  }
  const int height = WindowHeight();
  const RECT wanted{inputWindow->left, inputWindow->top - height, inputWindow->right,
                    inputWindow->top};
  if (!EqualRect(&now, &wanted)) {
    // Shown from nothing, the window uncovers nothing and is invalidated just below, so the
    // move itself need not redraw: under Wine that redraw, on the first key of every word,
    // cost as much again as the move.
    const UINT redraw = IsRectEmpty(&now) ? SWP_NOREDRAW : 0;
    SetWindowPos(Handle(), nullptr, wanted.left, wanted.top, wanted.right - wanted.left, height,
                 kFlags | redraw);
    paintPending_ = false;  // the new size is painted whole
  }
  Repaint();
}

void CCandidateWnd::Repaint() {
  // Changes made in one go (a new list, its no-match mark, its place) are painted once, when
  // the thread next looks at its messages; the window is invalidated once for all of them.
  if (!Handle() || paintPending_) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  paintPending_ = true;
}

void CCandidateWnd::RepaintNow() {
  // Under the pen the picture follows at once.
  if (!Handle()) return;
  InvalidateRect(Handle(), nullptr, FALSE);
  paintPending_ = true;
  UpdateWindow(Handle());
}

// ---------------------------------------------------------------- drawing

WideString CCandidateWnd::EntryText(int index) const {
  WideString text;
  if (list_->IsSpellingEntry(index)) {
    text = Spelled().empty() ? InterfaceText(100) : Spelled();
  } else {
    text = Entries()[static_cast<size_t>(index)];
    if (index == Selected() && NoMatch()) text += u"  ?";
  }
  return ApplyCaseState(text, caseState_);
}

void CCandidateWnd::Draw(HDC dc, int width, int height) {
  if (!dragImage_) {
    DrawPage(dc, width, height, Selected(), true);
    return;
  }
  DrawPage(dc, width, height, NextIndex(), false);
  const SIZE offset = DragOffset();
  win32::MemoryDc memory(dc);
  win32::SelectScope scope(memory.Get(), dragImage_.Get());
  BitBlt(dc, offset.cx, offset.cy, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void CCandidateWnd::DrawPage(HDC dc, int width, int height, int first, bool recordRects) {
  FramedRectangle(dc, RECT{0, 0, width, height}, RGB(255, 255, 255));
  if (recordRects) itemRects_.clear();
  const int k = std::min(CandidateStep(), Count() - first);
  if (first < 0 || k < 1) return;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, RGB(0, 0, 0));
  for (int j = 0; j < k; ++j) {
    const RECT cell = CandidateCellRect(width, height, k, CandidateSlot(k, j));
    const int index = first + j;
    const COLORREF fill = list_->IsSpellingEntry(index) ? kSpellingCellColor
                          : index == pressed_           ? kPressedCellColor
                                                        : kCandidateCellColor;
    FramedRectangle(dc, cell, fill);
    if (recordRects) itemRects_.push_back(cell);
    DrawEntry(dc, cell, index, j == 0);
  }
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

void CCandidateWnd::DrawEntry(HDC dc, const RECT& cell, int index, bool selectedFont) {
  const WideString text = EntryText(index);
  win32::SelectScope font(dc, (selectedFont ? boldFont_ : normalFont_).Get());
  const SIZE size = TextExtent(dc, text);
  // The text keeps 3 pixels from the cell's left edge and 2 from its right edge.
  const RECT box{cell.left + 3, cell.top, cell.right - 2, cell.bottom};
  const int room = box.right - box.left;
  const int y = (cell.top + cell.bottom) / 2 - size.cy / 2;
  const bool spelling = list_->IsSpellingEntry(index);
  int x;
  if (spelling || (GetSettings().SingleList && size.cx <= room)) {
    x = (box.left + box.right) / 2 - size.cx / 2;
  } else {
    // Right-aligned: a word wider than its cell loses its beginning, so its end stays in view.
    x = box.right - size.cx;
  }
  ExtTextOutW(dc, x, y, ETO_CLIPPED, &box, reinterpret_cast<const wchar_t*>(text.data()),
              static_cast<UINT>(text.size()), nullptr);
  if (spelling || TypedKeys() <= 0) return;

  // The part of the word that the typed keys account for gets a grey mark behind it.
  const size_t prefix = std::min(static_cast<size_t>(TypedKeys()), text.size());
  const SIZE prefixSize = TextExtent(dc, text.substr(0, prefix));
  const int left = std::max(x, static_cast<int>(cell.left));
  const int right = std::min(x + static_cast<int>(prefixSize.cx), static_cast<int>(cell.right));
  if (right <= left) return;
  const COLORREF oldPen = SetDCPenColor(dc, kTypedPrefixColor);
  const COLORREF oldBrush = SetDCBrushColor(dc, kTypedPrefixColor);
  win32::SelectScope penScope(dc, GetStockObject(DC_PEN));
  win32::SelectScope brushScope(dc, GetStockObject(DC_BRUSH));
  SetROP2(dc, R2_MASKPEN);
  Rectangle(dc, left, cell.top, right, cell.bottom);
  SetROP2(dc, R2_COPYPEN);
  SetDCBrushColor(dc, oldBrush);
  SetDCPenColor(dc, oldPen);
}

// ---------------------------------------------------------------- messages

LRESULT CCandidateWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
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
    case WM_CAPTURECHANGED:
      OnCaptureChanged();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void CCandidateWnd::OnPaint() {
  paintPending_ = false;
  win32::PaintScope paint(Handle());
  RECT client{};
  GetClientRect(Handle(), &client);
  if (client.right < 1 || client.bottom < 1) return;
  // The picture is drawn whole in the buffer and copied in one go, so it never flickers.
  if (!buffer_.Ensure(paint.Get(), client.right, client.bottom)) return;
  Draw(buffer_.Dc(), client.right, client.bottom);
  BitBlt(paint.Get(), 0, 0, client.right, client.bottom, buffer_.Dc(), 0, 0, SRCCOPY);
}

int CCandidateWnd::HitTest(POINT point) const {
  // The cells as they are drawn now: strictly inside the left and top edges, up to and
  // including the right and bottom ones.
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  const int k = std::min(CandidateStep(), Count() - Selected());
  for (int j = 0; j < k; ++j) {
    const RECT r = CandidateCellRect(client.right, client.bottom, k, CandidateSlot(k, j));
    if (point.x > r.left && point.y > r.top && point.x <= r.right && point.y <= r.bottom) {
      return Selected() + j;
    }
  }
  return -1;
}

void CCandidateWnd::OnLButtonDown(POINT point) {
  SetCapture(Handle());
  tracking_ = true;
  pressed_ = HitTest(point);
  RepaintNow();
  dragStart_ = dragCurrent_ = point;
}

SIZE CCandidateWnd::DragOffset() const {
  return SIZE{dragCurrent_.x - dragStart_.x, dragCurrent_.y - dragStart_.y};
}

void CCandidateWnd::OnMouseMove(POINT point) {
  if (!tracking_) return;  // a pointer passing over the window is no pen
  // The pen's path is smoothed: each move goes halfway from the last smoothed point.
  dragCurrent_.x = (dragCurrent_.x + point.x) / 2;
  dragCurrent_.y = (dragCurrent_.y + point.y) / 2;
  const SIZE offset = DragOffset();
  if (!dragImage_ && (std::abs(offset.cx) > kDragStartX || std::abs(offset.cy) > kDragStartY)) {
    RECT client{};
    GetClientRect(Handle(), &client);
    win32::WindowDc screen(Handle());
    win32::Bitmap picture(CreateCompatibleBitmap(screen.Get(), std::max<int>(client.right, 1),
                                                 std::max<int>(client.bottom, 1)));
    {
      win32::MemoryDc memory(screen.Get());
      win32::SelectScope scope(memory.Get(), picture.Get());
      DrawPage(memory.Get(), client.right, client.bottom, Selected(), false);
    }
    dragImage_ = std::move(picture);
  }
  if (dragImage_) RepaintNow();
}

void CCandidateWnd::EndDrag() {
  dragImage_.Reset();
  tracking_ = false;
}

void CCandidateWnd::OnLButtonUp(POINT point) {
  if (!tracking_) return;
  const bool dragged = static_cast<bool>(dragImage_);
  const SIZE offset = DragOffset();
  EndDrag();
  ReleaseCapture();
  if (dragged) {
    pressed_ = -1;
    if (std::abs(offset.cx) > kPageX || std::abs(offset.cy) > kPageY) {
      Select(NextIndex());
    } else {
      Repaint();
    }
    return;
  }
  if (pressed_ < 0) return;
  const int index = pressed_;
  pressed_ = -1;
  const bool wasSelected = index == Selected();
  if (!wasSelected) Select(index);
  Repaint();
  // A word commits at once; the spelling entry only when it was already selected and holds a
  // spelled word, so that the first tap on it only starts spelling.
  const bool commit = !list_->IsSpellingEntry(index) || (wasSelected && !Spelled().empty());
  if (commit && owner_) {
    SendMessageW(owner_, WM_COMMAND, MAKEWPARAM(keypad::kCommitButtonId, 0), 0);
  }
}

void CCandidateWnd::OnCaptureChanged() {
  // The pen was taken away (another window captured it): any drag ends where it is.
  if (GetCapture() != Handle() && tracking_) {
    EndDrag();
    pressed_ = -1;
    Repaint();
  }
}

void CCandidateWnd::OnTimer(UINT_PTR id) {
  if (id != kSpelledCopyTimer) return;
  KillTimer(Handle(), kSpelledCopyTimer);
  copyTimer_ = false;
  list_->ClearSpelled();
  Repaint();
}

}  // namespace tessaline
