// The Frequency page: the words whose use the input method counted (the adaptation records of
// one installed language's user dictionary), most used first, with Clear on the page's own copy
// and Save writing what was cleared; and the two sliders that set FreqMax and FreqInc when the sheet closes with OK.
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

class CPropFreq : public CPropertyPage {
 public:
  CPropFreq();

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
  bool StillShowing(const WideString& language) const;

  // The page's copy (its records are what the list shows), the records as read, and the
  // language they are of.
  UserDictionary copy_;
  AdaptationMap shown_;
  WideString shownLanguage_;
  bool unsaved_ = false;
};

}  // namespace tessaline
