#include "options/DialogTemplate.h"

#include <iterator>

namespace tessaline {
namespace {

// Offset of cdit, the item count, in words: style (2), extended style (2).
constexpr size_t kCountWord = 4;

}  // namespace

DialogTemplate::DialogTemplate(DWORD style, short cx, short cy, WideView caption) {
  style |= DS_SETFONT;
  words_ = {LOWORD(style),         HIWORD(style),        0, 0, 0, 0, 0,
            static_cast<WORD>(cx), static_cast<WORD>(cy)};
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the default dialog class
  AppendText(caption);
  words_.push_back(8);  // point size
  AppendText(u"MS Shell Dlg");
}

void DialogTemplate::AlignToDword() {
  if (words_.size() % 2 != 0) words_.push_back(0);
}

void DialogTemplate::AppendText(WideView text) {
  for (char16_t ch : text) words_.push_back(static_cast<WORD>(ch));
  words_.push_back(0);
}

void DialogTemplate::BeginControl(WORD id, DWORD style, short x, short y, short cx, short cy) {
  AlignToDword();
  style |= WS_CHILD | WS_VISIBLE;
  const WORD item[] = {LOWORD(style),
                       HIWORD(style),
                       0,
                       0,
                       static_cast<WORD>(x),
                       static_cast<WORD>(y),
                       static_cast<WORD>(cx),
                       static_cast<WORD>(cy),
                       id};
  words_.insert(words_.end(), std::begin(item), std::end(item));
  ++words_[kCountWord];
}

void DialogTemplate::EndControl(WideView text) {
  AppendText(text);
  words_.push_back(0);  // no creation data
}

void DialogTemplate::AddControl(ControlClass controlClass, WORD id, DWORD style, short x, short y,
                                short cx, short cy, WideView text) {
  BeginControl(id, style, x, y, cx, cy);
  words_.push_back(0xFFFF);
  words_.push_back(static_cast<WORD>(controlClass));
  EndControl(text);
}

void DialogTemplate::AddControl(WideView className, WORD id, DWORD style, short x, short y,
                                short cx, short cy, WideView text) {
  BeginControl(id, style, x, y, cx, cy);
  AppendText(className);
  EndControl(text);
}

int DialogTemplate::ControlCount() const { return words_[kCountWord]; }

const DLGTEMPLATE* DialogTemplate::Get() const {
  // std::vector's storage comes from operator new, aligned for any fundamental type, so the
  // DWORD fields of the template are aligned as the dialog manager requires.
  return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
}

}  // namespace tessaline
