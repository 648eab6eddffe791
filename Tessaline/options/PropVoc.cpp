#include "options/PropVoc.h"

#include <cstdio>
#include <optional>

#include "engine/Language.h"
#include "engine/UserDictionaryFile.h"
#include "languages/InterfaceTexts.h"
#include "options/ControlText.h"
#include "options/DocumentsFolder.h"
#include "options/ExchangeFile.h"
#include "options/WordImport.h"
#include "settings/Settings.h"
#include "system/DataFiles.h"
#include "system/Messages.h"

namespace tessaline {
namespace {

constexpr unsigned kQuestion = kMessageOkCancel | kMessageIconQuestion;

}  // namespace

bool CPropVoc::Ask(int text, unsigned style) const {
  // Owned by the sheet, which is disabled while the question is up: what the question is about
  // stays on the page until it is answered.
  return ShowOwnedMessage(Sheet(), InterfaceText(text), u"", style) == kAnswerOk;
}

bool CPropVoc::StillShowing(const WideString& language) const {
  WideString name;
  return Window() && SelectedLanguage(name) && name == language && shownLanguage_ == language;
}

CPropVoc::CPropVoc() : CPropertyPage(21, u"Dictionary") {
  DialogTemplate& layout = Layout();
  constexpr short kButtonWidth = 50;
  constexpr short kColumn = kPageWidth - 4 - kButtonWidth;
  layout.AddControl(ControlClass::ComboBox, kVocLanguageComboId,
                    CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 4, 4, kPageWidth - 8, 90,
                    u"");
  layout.AddControl(
      ControlClass::ListBox, kWordListId,
      WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 4, 21,
      kColumn - 8, kPageHeight - 25, u"");
  const struct {
    WORD id;
    const char16_t* caption;
  } buttons[] = {{kRemoveWordButtonId, u"Remove"},
                 {kExportButtonId, u"Export"},
                 {kImportButtonId, u"Import"},
                 {kSaveWordsButtonId, u"Save"},
                 {kClearWordsButtonId, u"Clear"}};
  short y = 21;
  for (const auto& button : buttons) {
    layout.AddControl(ControlClass::Button, button.id, BS_PUSHBUTTON | WS_TABSTOP, kColumn, y,
                      kButtonWidth, 14, button.caption);
    y += 18;
  }
}

void CPropVoc::OnInitialize() {
  const HWND combo = Control(kVocLanguageComboId);
  controls::ComboReset(combo);
  for (const WideString& name : ListInstalledLanguages()) controls::ComboAdd(combo, name);
  // The alphabetically first language, whatever languages are active.
  controls::ComboSelect(combo, 0);
  SetControlText(kRemoveWordButtonId, InterfaceText(29));
  SetControlText(kExportButtonId, InterfaceText(30));
  SetControlText(kImportButtonId, InterfaceText(31));
  SetControlText(kSaveWordsButtonId, InterfaceText(32));
  SetControlText(kClearWordsButtonId, InterfaceText(33));
  FillWordList();
}

bool CPropVoc::SelectedLanguage(WideString& name) const {
  return controls::ComboSelectedText(Control(kVocLanguageComboId), name);
}

void CPropVoc::FillWordList() {
  const HWND list = Control(kWordListId);
  controls::ListReset(list);
  unsaved_ = false;
  copy_ = UserDictionary();
  shownLanguage_.clear();
  WideString name;
  if (SelectedLanguage(name)) {
    // What the file holds, with this process's edits not written yet. A missing or unreadable
    // file leaves the copy empty; Save creates a missing one and never writes over the other.
    UserDictionaryFileAt(UserDictionaryPathOf(name)).Read(copy_);
    shownLanguage_ = name;
    controls::ListAddAll(list, copy_.Words());
  }
  UpdateControls();
}

void CPropVoc::UpdateControls() {
  const HWND list = Control(kWordListId);
  EnableControl(kRemoveWordButtonId, controls::ListSelection(list) >= 0);
  EnableControl(kSaveWordsButtonId, unsaved_);
  EnableControl(kClearWordsButtonId, controls::ListCount(list) > 0);
}

bool CPropVoc::OnCommand(WORD id, WORD code, HWND) {
  if (id == kVocLanguageComboId) {
    // Unsaved changes of the language shown so far are dropped without a question.
    if (code == CBN_SELCHANGE) FillWordList();
    return code == CBN_SELCHANGE;
  }
  if (id == kWordListId) {
    if (code == LBN_SELCHANGE) UpdateControls();
    return code == LBN_SELCHANGE;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case kRemoveWordButtonId:
      OnRemove();
      return true;
    case kClearWordsButtonId:
      OnClear();
      return true;
    case kSaveWordsButtonId:
      OnSave();
      return true;
    case kExportButtonId:
      OnExport();
      return true;
    case kImportButtonId:
      OnImport();
      return true;
    default:
      return false;
  }
}

void CPropVoc::OnRemove() {
  const HWND list = Control(kWordListId);
  const int index = controls::ListSelection(list);
  if (index < 0) return;
  // The word and its language, fixed before the question.
  const WideString language = shownLanguage_;
  const WideString word = controls::ListText(list, index);
  if (!Ask(27, kQuestion) || !StillShowing(language)) return;
  // The entry of that word: where it was, or where it is now (found exactly, letter case too).
  int now = controls::ListText(list, index) == word ? index : -1;
  const std::vector<WideString> texts = controls::ListTexts(list);
  for (size_t i = 0; now < 0 && i < texts.size(); ++i) {
    if (texts[i] == word) now = static_cast<int>(i);
  }
  if (now < 0) return;
  controls::ListDelete(list, now);
  unsaved_ = true;
  UpdateControls();
}

void CPropVoc::OnClear() {
  const WideString language = shownLanguage_;
  if (!Ask(28, kQuestion) || !StillShowing(language)) return;
  controls::ListReset(Control(kWordListId));
  unsaved_ = true;
  UpdateControls();
}

void CPropVoc::OnSave() {
  const WideString language = shownLanguage_;
  if (!Ask(26, kMessageOkCancel)) return;
  if (!language.empty() && StillShowing(language)) {
    // The page's edits, not its copy: the words it showed and the user took out go, the words
    // the user put in come, in the list's order; whatever another writer added to the file since
    // the page read it stays, and so do the adaptation records and the decay day.
    const std::vector<WideString> listed = controls::ListTexts(Control(kWordListId));
    const std::string path = UserDictionaryPathOf(language);
    UserDictionaryFile& file = UserDictionaryFileAt(path);
    const UserFileOutcome outcome = file.Commit(WordListEdits(copy_.Words(), listed));
    if (outcome.status == UserFileStatus::kSaved) {
      unsaved_ = false;
      copy_.ClearWords();
      for (const WideString& word : listed) copy_.AppendWord(word);
    } else {
      // The edits stay pending in this process and are written with the next write of the file.
      ShowOwnedMessage(Sheet(), AnsiToWide(path), InterfaceText(23), kMessageIconWarning);
    }
  }
  UpdateControls();
}

void CPropVoc::OnExport() {
  const std::optional<WideString> folder = DocumentsFolder();
  WideString name;
  if (!folder || !SelectedLanguage(name)) return;
  const WideString path = ExchangeFilePath(*folder, name);
  if (!WriteExchangeFile(WideToAnsi(path), controls::ListTexts(Control(kWordListId)))) {
    // Nothing was written over an earlier file.
    ShowOwnedMessage(Sheet(), path, InterfaceText(23), kMessageIconInformation);
    return;
  }
  ShowOwnedMessage(Sheet(), path, InterfaceText(22), kMessageOk);
}

void CPropVoc::OnImport() {
  const std::optional<WideString> folder = DocumentsFolder();
  WideString name;
  if (!folder || !SelectedLanguage(name)) return;
  const WideString path = ExchangeFilePath(*folder, name);
  FILE* file = OpenDataFile(WideToAnsi(path), "rb");
  if (!file) {
    ShowOwnedMessage(Sheet(), path, InterfaceText(25), kMessageIconInformation);
    return;
  }
  {
    // A language of its own, without its user dictionary, sorts the words into new and known.
    const Settings& settings = GetSettings();
    Language language(LanguageFilePath(InstallFolder().narrow, name), name, false,
                      settings.AdaptiveVoc, settings.FreqMax, settings.FreqInc);
    const HWND list = Control(kWordListId);
    const ImportResult result = ImportUserWords(language, controls::ListTexts(list), file);
    if (result.imported) {
      controls::ListReset(list);
      controls::ListAddAll(list, result.words);
      unsaved_ = true;
      UpdateControls();
    }
  }
  std::fclose(file);
  ShowOwnedMessage(Sheet(), path, InterfaceText(24), kMessageOk);
}

}  // namespace tessaline
