// The start-up selector's entry: a launch slot (71 to 78 of HKEY_LOCAL_MACHINE\init) whose text
// contains "TSSelect.exe", so that the device starts the selector, which makes this input method
// the current one, at every start (Win32).
#pragma once

namespace tessaline {

// True when a slot's text contains "TSSelect.exe" (case-sensitive); slots are examined in
// increasing order, and a missing slot or one that is not a string reads as empty.
bool StartupSelectorRegistered();

// Deletes the first slot whose text contains "TSSelect.exe"; later ones are left alone.
void RemoveStartupSelector();

// Writes "<Path>\TSSelect.exe" into the first slot whose value does not exist, with Path read
// afresh from the class key (empty when it cannot be read). Nothing happens, silently, when all
// eight slots exist or the key "init" cannot be opened.
void AddStartupSelector();

}  // namespace tessaline
