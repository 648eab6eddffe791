#include "platform/DeviceNotify.h"

namespace tessaline::device {

UINT DeviceChangeMessage() {
  static const UINT message = RegisterWindowMessageW(kDeviceChangeMessageName);
  return message;
}

int NotifyEmulator(DeviceChange change, LPARAM detail) {
  const UINT message = DeviceChangeMessage();
  if (message == 0) return 0;
  int notified = 0;
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, kEmulatorWindowClass, nullptr)) != nullptr) {
    if (PostMessageW(window, message, change, detail)) ++notified;
  }
  return notified;
}

}  // namespace tessaline::device
