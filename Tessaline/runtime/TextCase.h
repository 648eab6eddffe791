// Upper case as the device's system gives it (CharUpperBuffW), for committed words and the
// candidate window.
#pragma once

#include "system/WideText.h"

namespace tessaline {

WideString UpperCase(WideView text);
char16_t UpperCase(char16_t ch);
// The case states of the input window: 0 as typed, 1 all capitals, 2 a capital first letter.
WideString ApplyCaseState(WideView text, int caseState);

}  // namespace tessaline
