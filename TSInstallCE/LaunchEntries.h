// The product's entries in the device's launch slots (HKEY_LOCAL_MACHINE\init, slots 71 to 78).
#pragma once

namespace tessaline::setup {

// Deletes every launch slot whose text contains the product word, case-sensitively: the start-up
// selector's entry and any deferred uninstall entry of an earlier removal (as long as the
// installation folder contains the word). Missing and non-string slots read as empty.
void CleanLaunchSlots();

// The DeferredUninstallEntry: "<installation folder>\Afterboot.exe" in the first empty slot
// (missing, not a string, or empty), so that the device runs the uninstall finisher at its next
// start. Nothing is written when the class key's Path is empty, when all eight slots are in use,
// or when the key "init" cannot be opened.
void WriteDeferredUninstallEntry();

}  // namespace tessaline::setup
