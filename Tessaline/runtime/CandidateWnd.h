// The candidate window: a strip directly above the input panel that shows the words found for
// the typed keys, lets the user pick one with a tap, page through the list with a drag, or spell
// a new word in its last entry.
#pragma once

#include <windows.h>

#include <vector>

#include "keypad/CandidateList.h"
#include "win32/MessageWindow.h"
#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline {

// Colours of the cells and of the mark behind the typed part of a word (0x00BBGGRR).
constexpr COLORREF kCandidateCellColor = 0xFFFFFF;
constexpr COLORREF kSpellingCellColor = 0xC0C0C0;
constexpr COLORREF kPressedCellColor = 0x808080;
constexpr COLORREF kTypedPrefixColor = 0xD0D0D0;

// With k entries shown, the slot (0 leftmost) of the j-th entry from the selected one: with three
// the selected word sits in the middle, the next on the left and the one after on the right.
int CandidateSlot(int k, int j);
// Cell rectangle of slot s of k across a window of that size: the full height less one pixel at
// the top and the bottom.
RECT CandidateCellRect(int width, int height, int k, int s);

class CCandidateWnd : public win32::MessageWindow {
 public:
  static constexpr UINT_PTR kSpelledCopyTimer = 1;
  static constexpr UINT kSpelledCopyMilliseconds = 2000;
  CCandidateWnd();
  ~CCandidateWnd() override;

  // A zero-size pop-up owned by the input window; it never takes the focus. A tap that commits
  // a word is sent to the owner as WM_COMMAND with the commit button's id and code 0.
  bool Create(HWND owner);
  // Shows and edits that list (the keypad composer's) instead of the window's own; null goes
  // back to the own list.
  void Attach(CandidateList* list) { list_ = list ? list : &ownList_; }
  // The attached list was changed by its owner: filled anew (the pressed entry goes), another
  // entry selected (with the spelling entry's copy of the first word, which goes again after the
  // copy pause), the spelled word edited. Each repaints.
  void ListReplaced();
  void SelectionChanged(bool copiedFirstWord);
  void SpelledChanged();

  // The words found and the number of keys typed; `entries` ends with the empty spelling entry
  // (or is empty). Selects entry 0, clears the spelled text and the pressed entry, repaints.
  void SetList(std::vector<WideString> entries, int typedKeys);
  // Selects an entry (clamped to the last). Selecting the spelling entry starts it with a copy
  // of the first word, cleared again after two seconds unless the user edits it.
  void Select(int index);
  int Selected() const { return list_->Selected(); }
  int Count() const { return list_->Count(); }
  // The entry the next-candidate step goes to: from the last entry back to the first, else
  // forward by the candidate step, at most to the last entry.
  int NextIndex() const;
  // The list is not empty and its empty last entry is selected.
  bool SpellingMode() const { return list_->SpellingMode(); }
  // The spelled text in spelling mode, else the selected word (empty past the end).
  WideString CurrentWord() const { return list_->CurrentWord(); }
  void AppendSpelled(char16_t ch);
  // False when there was nothing to remove.
  bool RemoveLastSpelled();
  void SetNoMatch(bool noMatch);
  void SetCaseState(int caseState);
  // Places the window directly above that screen rectangle (the input window) across its width,
  // or hides it (null). Either way the spelled-copy timer stops.
  void Place(const RECT* inputWindow);

  // Draws the window as it is now into a DC of its size: the list from the selected entry, or
  // during a drag the next page under the picture taken when the drag began.
  void Draw(HDC dc, int width, int height);
  // Twice the height of "OqOO" in the bold font.
  int WindowHeight() const;
  // Makes the picture's buffer for a window that wide (the input window's width, which the
  // window takes when placed), so that the first words shown need not make it.
  void PrepareBuffer(int width);

  const std::vector<WideString>& Entries() const { return list_->Entries(); }
  const WideString& Spelled() const { return list_->Spelled(); }
  int TypedKeys() const { return list_->TypedKeys(); }
  bool NoMatch() const { return list_->NoMatch(); }
  int Pressed() const { return pressed_; }
  bool Dragging() const { return static_cast<bool>(dragImage_); }
  const std::vector<RECT>& ItemRects() const { return itemRects_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnPaint();
  void OnLButtonDown(POINT point);
  void OnMouseMove(POINT point);
  void OnLButtonUp(POINT point);
  void OnTimer(UINT_PTR id);
  void OnCaptureChanged();

  void DrawPage(HDC dc, int width, int height, int first, bool recordRects);
  void DrawEntry(HDC dc, const RECT& cell, int index, bool selectedFont);
  WideString EntryText(int index) const;
  int HitTest(POINT point) const;
  void Repaint();
  void RepaintNow();
  void StopCopyTimer();
  void EndDrag();
  SIZE DragOffset() const;

  HWND owner_ = nullptr;
  CandidateList ownList_;
  CandidateList* list_ = &ownList_;
  int caseState_ = 0;
  int pressed_ = -1;
  std::vector<RECT> itemRects_;
  win32::Font boldFont_;
  win32::Font normalFont_;
  bool tracking_ = false;
  POINT dragStart_{};
  POINT dragCurrent_{};
  win32::Bitmap dragImage_;
  win32::BackBuffer buffer_;
  mutable int height_ = 0;     // WindowHeight, once measured
  bool paintPending_ = false;  // invalidated, and not painted since
  bool copyTimer_ = false;     // the spelled-copy timer runs
};

}  // namespace tessaline
