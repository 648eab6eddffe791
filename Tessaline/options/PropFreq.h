// The Frequency page: the words whose use the input method counted (the adaptation records of
// one installed language's user dictionary), most used first, with Clear and Save on the page's
// own copy; and the two sliders that set FreqMax and FreqInc when the sheet closes with OK.
#pragma once

#include "engine/UserDictionary.h"
#include "options/PageCopies.h"
#include "options/PropertyPage.h"

namespace tessaline {

enum FrequencyPageControl : WORD {
  kFreqLanguageComboId = 1500,
  kFrequencyListId,
  kClearRecordsButtonId,
  kSaveRecordsButtonId,
  kRestoreLabelId,
  kRestoreSliderId,
  kRestoreNumberId,
  kSpeedLabelId,
  kSpeedSliderId,
  kSpeedNumberId,
};

class CPropFreq : public CPropertyPage, public UserDictionaryPeer {
 public:
  CPropFreq();

  // The Dictionary page, told when this page saves.
  void SetPeer(UserDictionaryPeer* peer) { peer_ = peer; }
  void OnPeerSaved(const WideString& language, const UserDictionary& saved) override;

  bool Unsaved() const { return unsaved_; }
  const UserDictionary& PageCopy() const { return copy_; }

 protected:
  void OnInitialize() override;
  void OnOk() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  bool OnHScroll(HWND control, WORD code) override;

 private:
  void OnClear();
  void OnSave();

  void FillList();
  void UpdateControls();
  bool SelectedLanguage(WideString& name) const;

  UserDictionary copy_;
  bool unsaved_ = false;
  UserDictionaryPeer* peer_ = nullptr;
};

}  // namespace tessaline
