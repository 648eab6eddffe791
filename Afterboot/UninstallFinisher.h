// The deferred uninstall finisher: at the first start of the device after a removal that had to
// wait for a soft reset, it removes its own launch slot and starts the platform's uninstaller.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tessaline::afterboot {

// Starts a program by file name with a command line, without waiting for it; false when it
// could not be started.
using StartProgram =
    std::function<bool(const std::wstring& program, const std::wstring& arguments)>;

// The program's work, given its arguments (the launch slot number first); returns the exit code.
int RunUninstallFinisher(const std::vector<std::wstring>& arguments, const StartProgram& start);

// CreateProcessW on the search path: the program name, then the arguments, as its command line.
bool StartDetached(const std::wstring& program, const std::wstring& arguments);

}  // namespace tessaline::afterboot
