// The soft input panel calls that the input method makes (SipShowIM, from the device services),
// and what the input method's own tests read of them: the SipShowIM calls this process made, in
// the device services' call record.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/DeviceServices.h"

namespace tessaline::platform {

// Every SipShowIM flag this process passed since the last clear, oldest first.
std::vector<DWORD> SipShowIMCalls();
// Forgets this process's SipShowIM calls (its other recorded calls stay).
void ClearSipShowIMCalls();

}  // namespace tessaline::platform
