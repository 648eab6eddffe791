// The launch slots of the device: string values "Launch71" to "Launch78" of the key
// HKEY_LOCAL_MACHINE\init, each naming a program that the device starts at every start, in slot
// order. The Interface page keeps the start-up selector's entry there, and the setup hooks the
// deferred uninstall entry (Win32).
#pragma once

#include "system/WideText.h"

namespace tessaline {

constexpr int kFirstLaunchSlot = 71;
constexpr int kLastLaunchSlot = 78;

// "init\Launch71" for slot 71, relative to HKEY_LOCAL_MACHINE.
WideString LaunchSlotPath(int slot);

// The slot's text; empty when the value is missing or not a string.
WideString ReadLaunchSlot(int slot);

// The first slot, in increasing order, whose text contains `part` (case-sensitive), or 0.
int FindLaunchSlot(WideView part);

// True when the slot's value exists, whatever it holds.
bool LaunchSlotExists(int slot);

bool WriteLaunchSlot(int slot, WideView text);
bool DeleteLaunchSlot(int slot);

}  // namespace tessaline
