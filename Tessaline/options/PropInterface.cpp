#include "options/PropInterface.h"

#include "languages/InterfaceTexts.h"
#include "options/ControlText.h"
#include "options/StartupSelector.h"
#include "settings/Settings.h"
#include "system/FileSearch.h"
#include "system/LetterCase.h"

namespace tessaline {
namespace {

struct CheckBox {
  WORD id;
  int text;
  const char16_t* layoutCaption;
};

// In the order of the page, top to bottom. The adaptive vocabulary box's layout caption repeats
// "Make default IM"; its interface text replaces it at once.
constexpr CheckBox kBoxes[] = {
    {kTruncWordsBoxId, 12, u"Truncate found words"},
    {kSingleListBoxId, 13, u"Show one word"},
    {kAddSpaceBoxId, 14, u"Auto space"},
    {kNoiseGateBoxId, 20, u"Reduce input noise"},
    {kThemeFilterBoxId, 4, u"Apply theme color"},
    {kShowHintBoxId, 38, u"Show hint"},
    {kAdaptiveVocBoxId, 44, u"Make default IM"},
    {kDefaultImBoxId, 39, u"Make default IM"},
};

constexpr short kBoxStep = 13;

}  // namespace

CPropInterface::CPropInterface() : CPropertyPage(10, u"Interface") {
  DialogTemplate& layout = Layout();
  short y = 3;
  for (const CheckBox& box : kBoxes) {
    layout.AddControl(ControlClass::Button, box.id, BS_AUTOCHECKBOX | WS_TABSTOP, 6, y,
                      kPageWidth - 10, 11, box.layoutCaption);
    y += kBoxStep;
  }
  y += 3;
  layout.AddControl(ControlClass::Static, kPanelLabelId, SS_LEFT, 6, y, kPageWidth - 10, 9,
                    u"Panel");
  layout.AddControl(ControlClass::ComboBox, kPanelComboId,
                    CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 6, y + 10, kPageWidth - 12, 80,
                    u"");
}

void CPropInterface::OnInitialize() {
  const Settings& settings = GetSettings();
  const bool states[] = {settings.TruncWords,     settings.SingleList,        settings.AddSpace,
                         settings.NoiseGate != 0, settings.ThemeFilter,       settings.ShowHint,
                         settings.AdaptiveVoc,    StartupSelectorRegistered()};
  for (size_t i = 0; i < std::size(kBoxes); ++i) {
    controls::SetChecked(Control(kBoxes[i].id), states[i]);
    SetControlText(kBoxes[i].id, InterfaceText(kBoxes[i].text));
  }
  SetControlText(kPanelLabelId, InterfaceText(5));
  FillPanelList();
}

void CPropInterface::FillPanelList() {
  const HWND combo = Control(kPanelComboId);
  controls::ComboReset(combo);
  const WideString pattern = InstallFolder().wide + u"\\Layouts\\*.pan";
  const WideString wanted = LowerCase(SettingsText(GetSettings().PanelFileName));
  int selected = -1;
  for (const WideString& file : FindFiles(pattern)) {
    controls::ComboAdd(combo, file);
    // The last file that matches wins.
    if (LowerCase(file) == wanted) selected = controls::ComboCount(combo) - 1;
  }
  if (selected >= 0) controls::ComboSelect(combo, selected);
}

void CPropInterface::OnOk() {
  Settings& settings = GetSettings();
  auto checked = [this](WORD id) { return controls::Checked(Control(id)); };
  settings.TruncWords = checked(kTruncWordsBoxId);
  settings.SingleList = checked(kSingleListBoxId);
  settings.AddSpace = checked(kAddSpaceBoxId);
  settings.NoiseGate = checked(kNoiseGateBoxId) ? kReducedNoiseGate : 0;
  settings.ThemeFilter = checked(kThemeFilterBoxId);
  settings.ShowHint = checked(kShowHintBoxId);
  settings.AdaptiveVoc = checked(kAdaptiveVocBoxId);

  // With the box checked an existing entry is replaced by a fresh one in the first free slot.
  RemoveStartupSelector();
  if (checked(kDefaultImBoxId)) AddStartupSelector();

  const HWND combo = Control(kPanelComboId);
  if (const int i = controls::ComboSelection(combo); i >= 0) {
    SetSettingsText(settings.PanelFileName, controls::ComboText(combo, i));
  }
}

}  // namespace tessaline
