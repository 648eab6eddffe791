// Loading and saving the settings record in the registry, under the input method's class key
// HKEY_CLASSES_ROOT\CLSID\{D29B81CD-2716-464C-AE72-61C143A16307} (Win32).
#pragma once

namespace tessaline {

// Resets the record to the defaults, overlays the values of the class key (a key that does not
// open leaves the defaults, silently), then falls back to "compact.pan" when the panel file has
// no record at its top level. The fallback is not saved.
void LoadSettings();

// Writes every value but Path into the class key. Returns the status of opening the key
// (ERROR_SUCCESS, or the error, in which case nothing is written); a value that fails to write
// is passed over. The key is opened, never created: it belongs to class registration.
long SaveSettings();

// What closing the options with OK does to the change counter: raise it, save, raise it again.
// The stored counter is then one below the one in memory, so the next time the panel is shown
// the reloaded counter differs from the noted one and the input window is rebuilt, in this
// process as in any other.
void RaiseCounterAndSave();

}  // namespace tessaline
