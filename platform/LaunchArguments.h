// The command line of a program that the device starts from a launch slot: the slot number is
// its only argument. Arguments are separated by white space; double quotes group text that holds
// spaces and are removed. The splitting is portable (the fuzz target runs it natively); reading
// the running program's own command line is Win32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaline::device {

// The arguments of a command line that does not name the program ("71", "\"7 1\" x").
std::vector<std::wstring> SplitArguments(const std::wstring& text);

// The arguments of a whole command line, the program's own name (quoted or not) left out.
std::vector<std::wstring> ArgumentsAfterProgramName(const std::wstring& commandLine);

// The number a decimal text starts with, as the C runtime's _wtoi reads it (leading white space
// and a sign allowed, reading stops at the first other character; no digits give 0), kept to
// 32 bits.
uint32_t DecimalArgument(const std::wstring& text);

#ifdef _WIN32
// The running program's arguments (GetCommandLineW without the program's name).
std::vector<std::wstring> ProgramArguments();
#endif

}  // namespace tessaline::device
