// What the installer and the uninstaller know of the device they run on: the window that owns
// the setup library's messages, how its questions are answered, and where their own report goes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "device/SetupAnswer.h"

namespace tessaline::emulator {

struct SetupHost {
  HWND owner = nullptr;       // the running emulator's device screen, when there is one
  std::optional<int> answer;  // how questions are answered; none: message boxes for a person
  SetupOutput output;         // the report, line by line (nothing: silent)

  void Say(const std::string& line) const {
    if (output) output(line);
  }
};

// The host on this device: the device screen of a running emulator as the owner, and the
// device's own answer, or OK when `unattended` and the device keeps none.
SetupHost DeviceSetupHost(bool unattended, SetupOutput output);

// A report line on the program's standard output, as the installer and unload.exe print them
// (nothing when the program has no standard output).
void WriteOutputLine(const std::string& line);

// Calls a library's DllRegisterServer or DllUnregisterServer, as regsvr32 does, in this process
// (the library is freed again afterwards). A library that does not load, or lacks the export,
// gives a failure.
HRESULT RegisterLibrary(const std::wstring& path);
HRESULT UnregisterLibrary(const std::wstring& path);

}  // namespace tessaline::emulator
