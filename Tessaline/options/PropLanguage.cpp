#include "options/PropLanguage.h"

#include <commctrl.h>

#include "languages/InterfaceTexts.h"
#include "options/ControlText.h"
#include "options/OptionsSheet.h"
#include "settings/Settings.h"
#include "system/LetterCase.h"

namespace tessaline {
namespace {

constexpr DWORD kListStyle =
    WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kComboStyle = WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;

// The name a control should select: the setting, "English" for an empty primary or interface
// language, lowered for a comparison that ignores letter case.
WideString Wanted(WideView setting, bool emptyMeansEnglish) {
  if (setting.empty() && emptyMeansEnglish) return u"english";
  return LowerCase(setting);
}

}  // namespace

CPropLanguage::CPropLanguage() : CPropertyPage(9, u"Languages") {
  DialogTemplate& layout = Layout();
  const short half = (kPageWidth - 18) / 2;
  layout.AddControl(ControlClass::Button, kLanguagesFrameId, BS_GROUPBOX, 3, 2, kPageWidth - 6, 104,
                    u"Active languages");
  layout.AddControl(ControlClass::Static, kPrimaryLabelId, SS_LEFT, 8, 13, half, 9, u"Primary");
  layout.AddControl(ControlClass::Static, kSecondaryLabelId, SS_LEFT, 10 + half, 13, half, 9,
                    u"Secondary");
  layout.AddControl(ControlClass::ListBox, kPrimaryListId, kListStyle, 8, 23, half, 78, u"");
  layout.AddControl(ControlClass::ListBox, kSecondaryListId, kListStyle, 10 + half, 23, half, 78,
                    u"");
  layout.AddControl(ControlClass::Static, kInterfaceLabelId, SS_LEFT, 4, 112, kPageWidth - 8, 9,
                    u"Interface language");
  layout.AddControl(ControlClass::ComboBox, kInterfaceComboId, kComboStyle, 4, 123, kPageWidth - 8,
                    90, u"");
}

void CPropLanguage::OnInitialize() {
  SetControlText(kLanguagesFrameId, InterfaceText(0));
  SetControlText(kPrimaryLabelId, InterfaceText(1));
  SetControlText(kSecondaryLabelId, InterfaceText(2));
  SetControlText(kInterfaceLabelId, InterfaceText(3));

  const std::vector<WideString> names = ListInstalledLanguages();
  const Settings& settings = GetSettings();
  const WideString primary = Wanted(SettingsText(settings.Language0), true);
  const WideString secondary = Wanted(SettingsText(settings.Language1), false);
  const WideString interfaceName = Wanted(SettingsText(settings.Locale), true);

  const HWND primaryList = Control(kPrimaryListId);
  const HWND secondaryList = Control(kSecondaryListId);
  const HWND interfaceCombo = Control(kInterfaceComboId);
  controls::ListReset(primaryList);
  controls::ListReset(secondaryList);
  controls::ComboReset(interfaceCombo);
  for (size_t i = 0; i < names.size(); ++i) {
    const int index = static_cast<int>(i);
    controls::ListAdd(primaryList, names[i]);
    controls::ListAdd(secondaryList, names[i]);
    controls::ComboAdd(interfaceCombo, names[i]);
    const WideString lower = LowerCase(names[i]);
    if (lower == primary) controls::ListSelect(primaryList, index);
    if (lower == secondary) controls::ListSelect(secondaryList, index);
    if (lower == interfaceName) controls::ComboSelect(interfaceCombo, index);
  }
  SetTabCaptions();
}

void CPropLanguage::SetTabCaptions() {
  const HWND tabs = PropSheet_GetTabControl(Sheet());
  if (!tabs) return;
  const int count = TabCtrl_GetItemCount(tabs);
  for (int i = 0; i < count && i < static_cast<int>(std::size(kTabTexts)); ++i) {
    WideString caption = InterfaceText(kTabTexts[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(caption.data());
    TabCtrl_SetItem(tabs, i, &item);
  }
}

void CPropLanguage::OnOk() {
  Settings& settings = GetSettings();
  const HWND primaryList = Control(kPrimaryListId);
  const HWND secondaryList = Control(kSecondaryListId);
  const HWND interfaceCombo = Control(kInterfaceComboId);
  if (const int i = controls::ListSelection(primaryList); i >= 0) {
    SetSettingsText(settings.Language0, controls::ListText(primaryList, i));
  }
  if (const int i = controls::ListSelection(secondaryList); i >= 0) {
    SetSettingsText(settings.Language1, controls::ListText(secondaryList, i));
  }
  if (const int i = controls::ComboSelection(interfaceCombo); i >= 0) {
    SetSettingsText(settings.Locale, controls::ComboText(interfaceCombo, i));
  }
}

}  // namespace tessaline
