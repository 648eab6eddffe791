// The device screen as a picture: the device window and every window of this process that lies
// over it (the input method's pop-ups, dialogs), put together bottom to top as they are seen.
#pragma once

#include <windows.h>

#include <string>

namespace tessaline::emulator {

// 24-bit RGB rows, top row first, kScreenWidth × kScreenHeight. `skip` is a window to leave
// out (the zoomed view, which shows the picture itself).
std::string CaptureDevice(HWND device, HWND skip);

// Writes the picture as a PNG file; false when it cannot be encoded or written.
bool WriteScreenshot(const std::string& rgb, const std::wstring& path);

}  // namespace tessaline::emulator
