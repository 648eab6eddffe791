// Handing the choice of default input method back to a system input method when the product is
// removed, so that the device does not start with an input method that is gone.
#pragma once

#include <string>
#include <vector>

namespace tessaline::setup {

// When "DefaultIm" (HKEY_CURRENT_USER\ControlPanel\Sip) names this input method in any letter
// case: collects the system input methods and writes the first one that differs from the
// current value as the new "DefaultIm". Another "DefaultIm", or none, is left as it is.
void HandBackDefaultInputMethod();

// The system input methods found by the last hand-back: the installed input methods whose
// library (InprocServer32 default value) is "MSIM.DLL" in any letter case, the whole value, as
// upper-case class texts in braces in the order of the platform's enumeration.
const std::vector<std::wstring>& SystemInputMethods();

// ASCII letters to upper case, as the C runtime's _wcsupr does in the "C" locale.
std::wstring AsciiUpper(std::wstring text);

}  // namespace tessaline::setup
