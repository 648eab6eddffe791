// What DllRegisterServer applies and DllUnregisterServer removes under HKEY_CLASSES_ROOT: the two
// program identifiers, the class key (which also holds the settings, so removal takes them with
// it), the application identifier keys, and the module's own type library.
#pragma once

#include <windows.h>

#include <string>

namespace tessaline {

// Writes every key and value; the class key's InprocServer32 names modulePath. Keys that exist
// already keep what else they hold (the settings of an earlier registration stay). Returns S_OK,
// or the failure of the first key or value that could not be written, or of the type library.
HRESULT RegisterTessaline(const std::wstring& modulePath);

// Removes the keys whole and unregisters the type library. Keys that are already gone are not a
// failure; S_OK when nothing of the registration is left.
HRESULT UnregisterTessaline();

}  // namespace tessaline
