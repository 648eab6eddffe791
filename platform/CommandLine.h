// The command line of a program that the device starts from a launch slot: the slot number is
// its only argument. Arguments are separated by white space; double quotes group text that holds
// spaces and are removed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tessaline::device {

// The arguments of a command line that does not name the program ("71", "\"7 1\" x").
std::vector<std::wstring> SplitArguments(const std::wstring& text);

// The running program's arguments: its command line without the program's own name.
std::vector<std::wstring> ProgramArguments();

// The number a decimal text starts with, as the C runtime's _wtoi reads it (leading white space
// and a sign allowed, reading stops at the first other character; no digits give 0).
DWORD DecimalArgument(const std::wstring& text);

}  // namespace tessaline::device
