// Dialog layouts built in memory (DLGTEMPLATE with its items), for the pages of the options
// sheet. Pages are laid out in code rather than in resource scripts: the library is linked into
// the input method's DLL from static libraries, whose resource objects the linker would drop.
#pragma once

#include <windows.h>

#include <vector>

#include "system/WideText.h"

namespace tessaline {

// The predefined control classes, by the atoms the dialog manager knows them by.
enum class ControlClass : WORD {
  Button = 0x0080,
  Edit = 0x0081,
  Static = 0x0082,
  ListBox = 0x0083,
  ScrollBar = 0x0084,
  ComboBox = 0x0085,
};

class DialogTemplate {
 public:
  // A dialog of cx by cy dialog units with the given style (DS_SETFONT is added) and caption, in
  // the shell's dialog font.
  DialogTemplate(DWORD style, short cx, short cy, WideView caption);

  // Appends a control; WS_CHILD | WS_VISIBLE are added to the style.
  void AddControl(ControlClass controlClass, WORD id, DWORD style, short x, short y, short cx,
                  short cy, WideView text);
  // The same for a control class known by name (for example the trackbar, "msctls_trackbar32").
  void AddControl(WideView className, WORD id, DWORD style, short x, short y, short cx, short cy,
                  WideView text);

  int ControlCount() const;
  // The template, valid until the next change of this object.
  const DLGTEMPLATE* Get() const;

 private:
  void AlignToDword();
  void AppendText(WideView text);
  void BeginControl(WORD id, DWORD style, short x, short y, short cx, short cy);
  void EndControl(WideView text);

  std::vector<WORD> words_;  // the template, built as 16-bit words (its own alignment unit)
};

}  // namespace tessaline
