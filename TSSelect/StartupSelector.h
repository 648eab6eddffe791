// The start-up selector: after every start of the device it makes this input method the current
// one, waits, and makes it current once more if another has taken its place in the meantime.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tessaline::select {

// A pause of the given number of milliseconds.
using Pause = std::function<void(DWORD milliseconds)>;

// The program's work, given its arguments (the launch slot number first); returns the exit code.
int RunStartupSelector(const std::vector<std::wstring>& arguments, const Pause& pause);

}  // namespace tessaline::select
