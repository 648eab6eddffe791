// What the emulator needs of the device services around input methods: the installed ones,
// which one is current, and making one current. Kept behind this small interface so that the
// SIP host does not care where the device keeps that state.
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
  // Every registered input method, in registry order.
  virtual std::vector<InstalledInputMethod> Enumerate() = 0;
  // The current input method; false when the device names none.
  virtual bool GetCurrent(CLSID& clsid) = 0;
  virtual bool SetCurrent(const CLSID& clsid) = 0;
};

// The device's own directory, kept in the emulated device's registry.
std::unique_ptr<InputMethodDirectory> CreateRegistryDirectory();

// The input method to run: the current one when it is installed, else the system keyboard,
// else the first installed one. False when nothing is installed.
bool ChooseInputMethod(InputMethodDirectory& directory, CLSID& clsid);

std::wstring ClsidText(const CLSID& clsid);

}  // namespace tessaline::emulator
