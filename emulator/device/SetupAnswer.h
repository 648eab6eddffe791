// How the setup hooks' questions are answered on the emulated device. With a person at the
// device they are message boxes; a device without one (the headless emulator, and every program
// it starts, such as the uninstaller that Afterboot.exe starts after a reset) keeps its answer in
// the device's state, HKEY_LOCAL_MACHINE\Software\EmulatedDevice "SetupAnswer" (REG_DWORD,
// IDOK or IDCANCEL), so that no question ever waits for a person who is not there.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace tessaline::emulator {

std::optional<int> DeviceSetupAnswer();
void SetDeviceSetupAnswer(std::optional<int> answer);

// A device without a person for as long as the object lives: its questions are answered OK
// unless the device keeps an answer already (or a script gives another); the device's own
// answer, or none, comes back at the end.
class UnattendedDevice {
 public:
  UnattendedDevice();
  ~UnattendedDevice();
  UnattendedDevice(const UnattendedDevice&) = delete;
  UnattendedDevice& operator=(const UnattendedDevice&) = delete;

 private:
  std::optional<int> saved_;
};

// The answer a message of that style gets: a box with only an OK button can only be answered
// OK; any other takes the answer given.
int AnswerFor(UINT style, int answer);

// "OK", "Cancel", ... for what is printed.
const char* AnswerName(int answer);

// A message's text on one line, its lines joined by " / ".
std::wstring OneLine(const std::wstring& text);

// Lines the installer and the uninstaller write for a person to read (UTF-8).
using SetupOutput = std::function<void(const std::string& line)>;

}  // namespace tessaline::emulator
