#include "options/ControlText.h"

#include <commctrl.h>

namespace tessaline::controls {
namespace {

const wchar_t* Wide(const WideString& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The text of an entry, asked for its length first (list boxes and drop-downs alike).
WideString EntryText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
  const LRESULT length = SendMessageW(control, lengthMessage, index, 0);
  if (length < 0) return WideString();
  WideString text(static_cast<size_t>(length) + 1, u'\0');
  const LRESULT got =
      SendMessageW(control, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return text;
}

}  // namespace

WideString WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  WideString text(static_cast<size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(got < 0 ? 0 : static_cast<size_t>(got));
  return text;
}

void SetText(HWND window, WideView text) { SetWindowTextW(window, Wide(WideString(text))); }

void ListReset(HWND list) { SendMessageW(list, LB_RESETCONTENT, 0, 0); }

int ListAdd(HWND list, WideView text) {
  const WideString entry(text);
  return static_cast<int>(
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry))));
}

void ListAddAll(HWND list, const std::vector<WideString>& texts) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  size_t bytes = 0;
  for (const WideString& text : texts) bytes += (text.size() + 1) * sizeof(wchar_t);
  SendMessageW(list, LB_INITSTORAGE, texts.size(), bytes);
  for (const WideString& text : texts) ListAdd(list, text);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

int ListCount(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

int ListSelection(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

void ListSelect(HWND list, int index) { SendMessageW(list, LB_SETCURSEL, index, 0); }

WideString ListText(HWND list, int index) {
  return EntryText(list, LB_GETTEXTLEN, LB_GETTEXT, index);
}

std::vector<WideString> ListTexts(HWND list) {
  std::vector<WideString> texts;
  const int count = ListCount(list);
  for (int i = 0; i < count; ++i) texts.push_back(ListText(list, i));
  return texts;
}

void ListDelete(HWND list, int index) { SendMessageW(list, LB_DELETESTRING, index, 0); }

void ComboReset(HWND combo) { SendMessageW(combo, CB_RESETCONTENT, 0, 0); }

int ComboAdd(HWND combo, WideView text) {
  const WideString entry(text);
  return static_cast<int>(
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry))));
}

int ComboCount(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); }

int ComboSelection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

void ComboSelect(HWND combo, int index) { SendMessageW(combo, CB_SETCURSEL, index, 0); }

WideString ComboText(HWND combo, int index) {
  return EntryText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

bool ComboSelectedText(HWND combo, WideString& text) {
  const int index = ComboSelection(combo);
  if (index < 0) return false;
  text = ComboText(combo, index);
  return true;
}

void SetChecked(HWND box, bool checked) {
  SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SliderSetRange(HWND slider, int low, int high) {
  SendMessageW(slider, TBM_SETRANGEMIN, FALSE, low);
  SendMessageW(slider, TBM_SETRANGEMAX, TRUE, high);
}

void SliderSetPosition(HWND slider, int position) {
  SendMessageW(slider, TBM_SETPOS, TRUE, position);
}

int SliderPosition(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }

}  // namespace tessaline::controls
