// The emulated device's system keyboard: the input method every Pocket PC has, "MSIM.DLL". The
// emulator brings a small one of its own: a plain QWERTY keypad that types through the callback.
#pragma once

#include <windows.h>

namespace tessaline::msim {

// {6E3B0F55-2C1D-4B8A-9E47-5A0C91D2B7E3}
constexpr CLSID CLSID_SystemKeyboard = {
    0x6E3B0F55, 0x2C1D, 0x4B8A, {0x9E, 0x47, 0x5A, 0x0C, 0x91, 0xD2, 0xB7, 0xE3}};

// The name the registration gives the class and the picker shows.
constexpr const wchar_t* kSystemKeyboardName = L"Keyboard";
// The library's bare name, exactly as the device's registry holds it.
constexpr const wchar_t* kSystemKeyboardLibrary = L"MSIM.DLL";

// The keypad's rows in pixels; the large keys (the keyboard's one option) are taller.
constexpr int kKeypadWidth = 240;
constexpr int kSmallKeyHeight = 20;
constexpr int kLargeKeyHeight = 25;
constexpr int kKeypadRows = 4;

}  // namespace tessaline::msim
