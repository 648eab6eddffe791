// Registry values named by a path relative to a root key: the key and the value name joined by a
// backslash, split at the last backslash ("init\Launch71" is the value "Launch71" of the key
// "init"). Each operation opens and closes the key itself (Win32).
#pragma once

#include <windows.h>

#include "system/WideText.h"

namespace tessaline {

// Reads a string value. True when the value was read; text then holds it when its type is REG_SZ
// and is empty for any other type. False (text empty) when the key or the value is missing.
//
// The launch entries and names read this way are short, but a value is never cut to a buffer: a
// longer one is read whole, so a search in it sees all of it and nothing beyond it. A string
// stored without its terminator ends at its stored length; one with a terminator before its end
// ends there.
bool ReadRegistryText(HKEY root, WideView path, WideString& text);

// Writes a REG_SZ value of (length + 1) × 2 bytes. The key must exist (it is not created).
bool WriteRegistryText(HKEY root, WideView path, WideView text);

// Deletes the value. False when the key or the value is missing.
bool DeleteRegistryValue(HKEY root, WideView path);

// True when the value exists, whatever its type.
bool RegistryValueExists(HKEY root, WideView path);

}  // namespace tessaline
