// The Dictionary page: the user's own words of one installed language, kept in the page's copy
// of the language's user dictionary until Save writes it; Remove, Clear, and the exchange of the
// word list with a text file in the documents folder (Export, Import).
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

class CPropVoc : public CPropertyPage, public UserDictionaryPeer {
 public:
  CPropVoc();

  // The Frequency page, told when this page saves.
  void SetPeer(UserDictionaryPeer* peer) { peer_ = peer; }
  void OnPeerSaved(const WideString& language, const UserDictionary& saved) override;

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

  UserDictionary copy_;
  bool unsaved_ = false;
  UserDictionaryPeer* peer_ = nullptr;
};

}  // namespace tessaline
