// The Dictionary page: the user's own words of one installed language, edited in the page's list
// until Save writes the edits into the language's user dictionary; Remove, Clear, and the
// exchange of the word list with a text file in the documents folder (Export, Import).
#pragma once

#include <vector>

#include "engine/UserDictionary.h"
#include "options/PageCopies.h"
#include "options/PropertyPage.h"

namespace tessaline {

enum DictionaryPageControl : WORD {
  kVocLanguageComboId = 1400,
  kWordListId,
  kRemoveWordButtonId,
  kExportButtonId,
  kImportButtonId,
  kSaveWordsButtonId,
  kClearWordsButtonId,
};

class CPropVoc : public CPropertyPage {
 public:
  CPropVoc();

  bool Unsaved() const { return unsaved_; }
  const UserDictionary& PageCopy() const { return copy_; }

 protected:
  void OnInitialize() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;

 private:
  void OnRemove();
  void OnClear();
  void OnSave();
  void OnExport();
  void OnImport();

  void FillWordList();
  void UpdateControls();
  // The selected language's name; false when the drop-down has no selection.
  bool SelectedLanguage(WideString& name) const;
  // A question of the page, owned by the sheet; true for OK.
  bool Ask(int text, unsigned style) const;
  // The page still shows the words of that language, as it did when a question was asked.
  bool StillShowing(const WideString& language) const;

  // The user dictionary as the page read it (the words it showed), and the language it is of.
  UserDictionary copy_;
  WideString shownLanguage_;
  bool unsaved_ = false;
};

}  // namespace tessaline
