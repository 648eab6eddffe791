// Every emulated device has its system keyboard: MSIM.DLL in the system folder, registered.
// The emulator puts its own copy there at start when it is missing or different.
#pragma once

#include <string>

namespace tessaline::emulator {

// False, with the reason, when the keyboard could not be put in place.
bool EnsureSystemKeyboard(std::wstring& error);

}  // namespace tessaline::emulator
