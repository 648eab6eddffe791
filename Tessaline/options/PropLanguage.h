// The Languages page: the primary and secondary language and the language of the interface
// texts, each chosen from the installed languages.
#pragma once

#include "options/PropertyPage.h"

namespace tessaline {

enum LanguagePageControl : WORD {
  kLanguagesFrameId = 1000,
  kPrimaryLabelId,
  kSecondaryLabelId,
  kInterfaceLabelId,
  kPrimaryListId,
  kSecondaryListId,
  kInterfaceComboId,
};

class CPropLanguage : public CPropertyPage {
 public:
  CPropLanguage();

 protected:
  void OnInitialize() override;
  void OnOk() override;

 private:
  void SetTabCaptions();
};

}  // namespace tessaline
