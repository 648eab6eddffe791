// The soft input panel calls of Windows CE that the input method makes. Win32 has no such calls,
// so they are declared here from what the input method needs of them.
//
// On a device they come from the platform; in this build each call is recorded (tests read the
// record through SipShowIMCalls) and then handed to a handler that a host such as the emulator
// installs. Without a handler a call succeeds and does nothing else.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/InputMethod.h"

// SipShowIM: shows or hides the soft input panel (SIPF_ON, SIPF_OFF).

extern "C" BOOL WINAPI SipShowIM(DWORD dwFlag);

namespace tessaline::platform {

// Every SipShowIM flag passed so far, oldest first.
std::vector<DWORD> SipShowIMCalls();
void ClearSipShowIMCalls();

// The host's implementation of SipShowIM, called after the call is recorded; nullptr removes it.
// Returns the previous handler.
using SipShowIMHandler = BOOL (*)(DWORD flag);
SipShowIMHandler SetSipShowIMHandler(SipShowIMHandler handler);

}  // namespace tessaline::platform
