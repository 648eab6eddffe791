// What the emulator needs of the device services around input methods: the installed ones,
// which one is current, and making one current. Kept behind this small interface so that the
// SIP host and its tests do not care how the device keeps that state.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace tessaline::emulator {

struct InstalledInputMethod {
  CLSID clsid{};
  std::wstring name;
};

class InputMethodDirectory {
 public:
  virtual ~InputMethodDirectory() = default;
  // Every installed input method, in the device's order.
  virtual std::vector<InstalledInputMethod> Enumerate() = 0;
  // The current input method; false when the device names none.
  virtual bool GetCurrent(CLSID& clsid) = 0;
  virtual bool SetCurrent(const CLSID& clsid) = 0;
};

// The device's own directory: SipEnumIM, SipGetCurrentIM and SipSetCurrentIM of the device
// services (TSDevice.dll).
std::unique_ptr<InputMethodDirectory> CreateDeviceDirectory();

// The input method to run: the current one when it is installed, else the system keyboard,
// else the first installed one. False when nothing is installed. `current` says whether the
// device names the chosen one as current already.
bool ChooseInputMethod(InputMethodDirectory& directory, CLSID& clsid, bool* current = nullptr);

std::wstring ClsidText(const CLSID& clsid);

}  // namespace tessaline::emulator
