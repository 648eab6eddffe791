// The few registry reads and writes the device services make, each opening and closing its key.
// A string is read whole whatever its length, and ends at its stored length when it has no
// terminator, so that no caller ever sees a cut value or bytes beyond it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tessaline::device {

// The REG_SZ (or REG_EXPAND_SZ, unexpanded) value `name` of root\path; nothing when the key or
// the value is missing or the value is of another type. An empty name reads the default value.
std::optional<std::wstring> ReadText(HKEY root, const wchar_t* path, const wchar_t* name);
std::optional<DWORD> ReadNumber(HKEY root, const wchar_t* path, const wchar_t* name);

// Create the key when it is missing; false when that or the write fails.
bool WriteText(HKEY root, const wchar_t* path, const wchar_t* name, const std::wstring& text);
bool WriteNumber(HKEY root, const wchar_t* path, const wchar_t* name, DWORD number);

void DeleteValue(HKEY root, const wchar_t* path, const wchar_t* name);

}  // namespace tessaline::device
