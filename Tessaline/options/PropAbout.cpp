#include "options/PropAbout.h"

namespace tessaline {

// Tab caption: interface text 11.
CPropAbout::CPropAbout() : CPropertyPage(11, u"About") {
  Layout().AddControl(ControlClass::Static, kAboutTextId, SS_CENTER, 0, 60, kPageWidth, 12,
                      kProductVersionText);
}

}  // namespace tessaline
