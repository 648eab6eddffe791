#include "options/PropFreq.h"

#include <commctrl.h>

#include <string>
#include <tuple>

#include "engine/UserDictionaryFile.h"
#include "languages/InterfaceTexts.h"
#include "options/ControlText.h"
#include "options/FrequencyView.h"
#include "settings/Settings.h"
#include "system/Messages.h"

namespace tessaline {
namespace {

constexpr const wchar_t* kSliderClass = TRACKBAR_CLASSW;

WideString Number(int value) {
  const std::string text = std::to_string(value);
  return WideString(text.begin(), text.end());
}

}  // namespace

CPropFreq::CPropFreq() : CPropertyPage(41, u"Frequency") {
  DialogTemplate& layout = Layout();
  constexpr short kWidth = kPageWidth - 8;
  constexpr short kButtonWidth = 50;
  layout.AddControl(ControlClass::ComboBox, kFreqLanguageComboId,
                    CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 4, 4, kWidth, 90, u"");
  layout.AddControl(ControlClass::ListBox, kFrequencyListId,
                    WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 4, 21,
                    kWidth, 58, u"");
  layout.AddControl(ControlClass::Button, kClearRecordsButtonId, BS_PUSHBUTTON | WS_TABSTOP, 4, 83,
                    kButtonWidth, 14, u"Clear");
  layout.AddControl(ControlClass::Button, kSaveRecordsButtonId, BS_PUSHBUTTON | WS_TABSTOP,
                    kPageWidth - 4 - kButtonWidth, 83, kButtonWidth, 14, u"Save");
  const WideString sliderClass(reinterpret_cast<const char16_t*>(kSliderClass));
  short y = 101;
  for (const auto& [label, slider, number, caption] :
       {std::tuple{kRestoreLabelId, kRestoreSliderId, kRestoreNumberId, u"Restore days"},
        std::tuple{kSpeedLabelId, kSpeedSliderId, kSpeedNumberId, u"Remember speed"}}) {
    layout.AddControl(ControlClass::Static, label, SS_LEFT, 4, y, kWidth - 20, 9, caption);
    layout.AddControl(ControlClass::Static, number, SS_RIGHT, kPageWidth - 24, y, 20, 9, u"");
    layout.AddControl(sliderClass, slider, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 2, y + 9,
                      kPageWidth - 4, 14, u"");
    y += 25;
  }
}

void CPropFreq::OnInitialize() {
  const HWND combo = Control(kFreqLanguageComboId);
  controls::ComboReset(combo);
  for (const WideString& name : ListInstalledLanguages()) controls::ComboAdd(combo, name);
  controls::ComboSelect(combo, 0);

  const HWND restore = Control(kRestoreSliderId);
  const HWND speed = Control(kSpeedSliderId);
  controls::SliderSetRange(restore, kRestoreDaysMin, kRestoreDaysMax);
  controls::SliderSetRange(speed, kSpeedMin, kSpeedMax);
  const Settings& settings = GetSettings();
  // The sliders keep their positions within their ranges themselves; the page hands them the
  // kept positions, so that what they show never depends on the control's own clamping.
  controls::SliderSetPosition(restore, RestoreDaysFor(settings.FreqMax));
  controls::SliderSetPosition(speed, SpeedFor(settings.FreqMax, settings.FreqInc));

  SetControlText(kSaveRecordsButtonId, InterfaceText(32));
  SetControlText(kClearRecordsButtonId, InterfaceText(33));
  SetControlText(kRestoreLabelId, InterfaceText(42));
  SetControlText(kSpeedLabelId, InterfaceText(43));
  FillList();
}

bool CPropFreq::SelectedLanguage(WideString& name) const {
  return controls::ComboSelectedText(Control(kFreqLanguageComboId), name);
}

void CPropFreq::FillList() {
  const HWND list = Control(kFrequencyListId);
  controls::ListReset(list);
  unsaved_ = false;
  copy_ = UserDictionary();
  shown_.clear();
  shownLanguage_.clear();
  WideString name;
  if (SelectedLanguage(name)) {
    UserDictionaryFileAt(UserDictionaryPathOf(name)).Read(copy_);
    shown_ = copy_.Adaptations();
    shownLanguage_ = name;
    std::vector<WideString> texts;
    for (const FrequencyEntry& entry : OrderByCount(copy_.Adaptations())) {
      texts.push_back(FrequencyEntryText(entry));
    }
    controls::ListAddAll(list, texts);
  }
  UpdateControls();
}

bool CPropFreq::StillShowing(const WideString& language) const {
  WideString name;
  return Window() && SelectedLanguage(name) && name == language && shownLanguage_ == language;
}

void CPropFreq::UpdateControls() {
  EnableControl(kClearRecordsButtonId, controls::ListCount(Control(kFrequencyListId)) > 0);
  EnableControl(kSaveRecordsButtonId, unsaved_);
  SetControlText(kRestoreNumberId, Number(controls::SliderPosition(Control(kRestoreSliderId))));
  SetControlText(kSpeedNumberId, Number(controls::SliderPosition(Control(kSpeedSliderId))));
}

bool CPropFreq::OnCommand(WORD id, WORD code, HWND) {
  if (id == kFreqLanguageComboId) {
    // Unsaved changes of the language shown so far are dropped without a question.
    if (code == CBN_SELCHANGE) FillList();
    return code == CBN_SELCHANGE;
  }
  if (id == kFrequencyListId) {
    if (code == LBN_SELCHANGE) UpdateControls();
    return code == LBN_SELCHANGE;
  }
  if (code != BN_CLICKED) return false;
  if (id == kClearRecordsButtonId) {
    OnClear();
    return true;
  }
  if (id == kSaveRecordsButtonId) {
    OnSave();
    return true;
  }
  return false;
}

bool CPropFreq::OnHScroll(HWND, WORD) {
  UpdateControls();
  return true;
}

void CPropFreq::OnClear() {
  const WideString language = shownLanguage_;
  if (ShowOwnedMessage(Sheet(), InterfaceText(28), u"", kMessageOkCancel | kMessageIconQuestion) !=
          kAnswerOk ||
      !StillShowing(language)) {
    return;
  }
  controls::ListReset(Control(kFrequencyListId));
  // Only the records go; the user's words and the decay day stay.
  copy_.Adaptations().clear();
  unsaved_ = true;
  UpdateControls();
}

void CPropFreq::OnSave() {
  // The language is fixed before the question; the question is the sheet's, so nothing on the
  // page changes while it is up.
  const WideString language = shownLanguage_;
  if (language.empty() || !StillShowing(language)) return;
  if (ShowOwnedMessage(Sheet(), InterfaceText(26), u"", kMessageOkCancel) != kAnswerOk) return;
  if (!StillShowing(language)) return;
  // The records the page showed and the user cleared go; records another writer made since the
  // page read the file stay, and so do the words and the decay day.
  const std::string path = UserDictionaryPathOf(language);
  const UserFileOutcome outcome =
      UserDictionaryFileAt(path).Commit(RecordEdits(shown_, copy_.Adaptations()));
  if (outcome.status == UserFileStatus::kSaved) {
    shown_ = copy_.Adaptations();
  } else {
    // The edits stay pending in this process and are written with the next write of the file.
    ShowOwnedMessage(Sheet(), AnsiToWide(path), InterfaceText(23), kMessageIconWarning);
  }
  // Unlike the Dictionary page, Save turns off after a failure too.
  unsaved_ = false;
  UpdateControls();
}

void CPropFreq::OnOk() {
  Settings& settings = GetSettings();
  const int restore = controls::SliderPosition(Control(kRestoreSliderId));
  settings.FreqMax = restore;
  settings.FreqInc = FreqIncFor(restore, controls::SliderPosition(Control(kSpeedSliderId)));
}

}  // namespace tessaline
