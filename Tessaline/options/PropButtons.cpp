#include "options/PropButtons.h"

#include "keyscript/KeyScript.h"
#include "languages/InterfaceTexts.h"
#include "options/ControlText.h"
#include "settings/Settings.h"

namespace tessaline {
namespace {

// The display field's text is taken up to this many characters when a combination is accepted.
constexpr size_t kMaxChordText = 255;

constexpr DWORD kListStyle =
    WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

}  // namespace

CPropButtons::CPropButtons() : CPropertyPage(16, u"Buttons") {
  DialogTemplate& layout = Layout();
  constexpr short kRight = kPageWidth - 4;
  constexpr short kButtonWidth = 50;
  constexpr short kColumn = kRight - kButtonWidth;
  layout.AddControl(ControlClass::ListBox, kButtonListId, kListStyle, 4, 4, kColumn - 8, 64, u"");
  layout.AddControl(ControlClass::Button, kAddButtonId, BS_PUSHBUTTON | WS_TABSTOP, kColumn, 4,
                    kButtonWidth, 14, u"Add");
  layout.AddControl(ControlClass::Button, kRemoveButtonId, BS_PUSHBUTTON | WS_TABSTOP, kColumn, 21,
                    kButtonWidth, 14, u"Remove");
  layout.AddControl(ControlClass::Button, kRedefineButtonId, BS_PUSHBUTTON | WS_TABSTOP, kColumn,
                    38, kButtonWidth, 14, u"Redefine");
  // The redefine mode's controls, shown only while a button is being redefined.
  layout.AddControl(ControlClass::ListBox, kKeyListId, kListStyle, 4, 72, kColumn - 28, 74, u"");
  layout.AddControl(ControlClass::Button, kAddKeyButtonId, BS_PUSHBUTTON | WS_TABSTOP, kColumn - 20,
                    72, 16, 14, u">>");
  layout.AddControl(ControlClass::Edit, kChordFieldId,
                    WS_BORDER | ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, kColumn - 20, 90,
                    kRight - kColumn + 20, 13, u"");
  layout.AddControl(ControlClass::Button, kClearChordButtonId, BS_PUSHBUTTON | WS_TABSTOP, kColumn,
                    107, kButtonWidth, 13, u"Clear");
  layout.AddControl(ControlClass::Button, kAcceptChordButtonId, BS_PUSHBUTTON | WS_TABSTOP, kColumn,
                    122, kButtonWidth, 13, u"OK");
  layout.AddControl(ControlClass::Button, kCancelChordButtonId, BS_PUSHBUTTON | WS_TABSTOP, kColumn,
                    137, kButtonWidth, 13, u"Cancel");
}

void CPropButtons::OnInitialize() {
  SetControlText(kAddButtonId, InterfaceText(17));
  SetControlText(kRemoveButtonId, InterfaceText(18));
  SetControlText(kRedefineButtonId, InterfaceText(19));
  // Every stored row is read, even beyond eight; Add then stays off until rows are removed.
  rows_ = ParseUserButtons(SettingsText(GetSettings().Buttons));
  FillButtonList();
  UpdateControls();
  std::vector<WideString> keys;
  for (const KeyName& key : KeyNameTable()) keys.emplace_back(key.displayName);
  controls::ListReset(Control(kKeyListId));
  controls::ListAddAll(Control(kKeyListId), keys);
}

void CPropButtons::FillButtonList() {
  const HWND list = Control(kButtonListId);
  controls::ListReset(list);
  std::vector<WideString> captions;
  captions.reserve(rows_.size());
  for (const UserButton& row : rows_) captions.push_back(row.caption);
  controls::ListAddAll(list, captions);
}

void CPropButtons::UpdateControls() {
  const bool selected = controls::ListSelection(Control(kButtonListId)) >= 0;
  EnableControl(kAddButtonId, rows_.size() < kMaxUserButtons && !redefining_);
  EnableControl(kRemoveButtonId, selected && !redefining_);
  EnableControl(kButtonListId, !redefining_);
  EnableControl(kRedefineButtonId, selected);
  ShowControl(kRedefineButtonId, !redefining_);
  for (WORD id : {kKeyListId, kAddKeyButtonId, kChordFieldId, kClearChordButtonId,
                  kAcceptChordButtonId, kCancelChordButtonId}) {
    ShowControl(id, redefining_);
  }
}

bool CPropButtons::OnCommand(WORD id, WORD code, HWND) {
  if (id == kButtonListId) {
    if (code == LBN_SELCHANGE) UpdateControls();
    return code == LBN_SELCHANGE;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case kAddButtonId:
      OnAdd();
      return true;
    case kRemoveButtonId:
      OnRemove();
      return true;
    case kRedefineButtonId:
      OnRedefine();
      return true;
    case kAddKeyButtonId:
      OnAddKey();
      return true;
    case kClearChordButtonId:
      OnClearChord();
      return true;
    case kAcceptChordButtonId:
      OnAcceptChord();
      return true;
    case kCancelChordButtonId:
      OnCancelChord();
      return true;
    default:
      return false;
  }
}

void CPropButtons::OnAdd() {
  if (rows_.size() >= kMaxUserButtons) return;
  rows_.push_back({kUnsetButtonCaption, u""});
  FillButtonList();
  UpdateControls();
}

void CPropButtons::OnRemove() {
  const HWND list = Control(kButtonListId);
  const int index = controls::ListSelection(list);
  if (index < 0 || static_cast<size_t>(index) >= rows_.size()) return;
  rows_.erase(rows_.begin() + index);
  FillButtonList();
  // The row that followed the removed one is selected; after the last row, none.
  controls::ListSelect(list, index);
  UpdateControls();
}

void CPropButtons::OnRedefine() {
  redefining_ = true;
  OnClearChord();
  UpdateControls();
}

void CPropButtons::OnAddKey() {
  const int row = controls::ListSelection(Control(kKeyListId));
  if (row < 0) return;
  chord_.AddKey(static_cast<size_t>(row));
  composed_ = chord_.Sequence();
  ShowChord();
}

void CPropButtons::ShowChord() { SetControlText(kChordFieldId, chord_.DisplayText()); }

void CPropButtons::OnClearChord() {
  chord_.Clear();
  composed_.clear();
  ShowChord();
}

void CPropButtons::OnAcceptChord() {
  const int index = controls::ListSelection(Control(kButtonListId));
  if (index >= 0 && static_cast<size_t>(index) < rows_.size()) {
    UserButton& row = rows_[index];
    if (!composed_.empty()) {
      row.sequence = composed_;
      row.caption = controls::WindowText(Control(kChordFieldId)).substr(0, kMaxChordText);
    } else {
      row.sequence.clear();
      row.caption = kUnsetButtonCaption;
    }
  }
  redefining_ = false;
  // The list is refilled before the controls follow it, so that Remove and Redefine are not left
  // enabled for a selection the refill took away.
  FillButtonList();
  UpdateControls();
}

void CPropButtons::OnCancelChord() {
  redefining_ = false;
  UpdateControls();
}

void CPropButtons::OnOk() {
  // A row being redefined keeps its old values.
  const WideString text = UserButtonsText(rows_, kSettingsButtonsUnits - 1);
  SetSettingsText(GetSettings().Buttons, text);
}

}  // namespace tessaline
