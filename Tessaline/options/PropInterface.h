// The Interface page: seven switches of the input window and the engine, the start-up selector
// entry ("Make default IM") and the panel file.
#pragma once

#include "options/PropertyPage.h"

namespace tessaline {

enum InterfacePageControl : WORD {
  kTruncWordsBoxId = 1200,
  kSingleListBoxId,
  kAddSpaceBoxId,
  kNoiseGateBoxId,
  kThemeFilterBoxId,
  kShowHintBoxId,
  kAdaptiveVocBoxId,
  kDefaultImBoxId,
  kPanelLabelId,
  kPanelComboId,
};

// What "Reduce input noise" stores when checked: the shortest touch, in milliseconds, that
// counts as a tap.
constexpr int32_t kReducedNoiseGate = 50;

class CPropInterface : public CPropertyPage {
 public:
  CPropInterface();

 protected:
  void OnInitialize() override;
  void OnOk() override;

 private:
  void FillPanelList();
};

}  // namespace tessaline
