// The About page: the product name and version as fixed text. It changes no setting.
#pragma once

#include "options/PropertyPage.h"

namespace tessaline {

constexpr WORD kAboutTextId = 1100;
constexpr const char16_t* kProductVersionText = u"Tessaline v1.51";

class CPropAbout : public CPropertyPage {
 public:
  CPropAbout();
};

}  // namespace tessaline
