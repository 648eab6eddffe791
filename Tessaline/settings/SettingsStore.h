// Loading and saving the settings record in the registry, under the input method's class key
// HKEY_CLASSES_ROOT\CLSID\{D29B81CD-2716-464C-AE72-61C143A16307} (Win32).
#pragma once

namespace tessaline {

// Resets the record to the defaults, overlays the values of the class key (a key that does not
// open leaves the defaults, silently), then falls back to "compact.pan" when the panel file has
// no record at its top level. The fallback is not saved.
void LoadSettings();

// Writes into the class key the values of the record that this process changed since it last
// loaded or saved them, and nothing else: never Path, never the change counter (see
// RaiseCounterAndSave), never a value another program may have changed meanwhile and this one
// did not. Returns the status of opening the key (ERROR_SUCCESS, or the error, in which case
// nothing is written); a value that fails to write is passed over. The key is opened, never
// created: it belongs to class registration.
long SaveSettings();

// What closing the options with OK does: saves the changed values, then raises the change
// counter as the key holds it by one (not from the copy in memory, which another program may
// have outdated). The counter in memory becomes one above the stored one, so the next time the
// panel is shown the reloaded counter differs from the noted one and the input window is
// rebuilt, in this process as in any other.
void RaiseCounterAndSave();

}  // namespace tessaline
