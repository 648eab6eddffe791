#include "settings/LaunchSlots.h"

#include <windows.h>

#include <string>

#include "settings/RegistryPath.h"

namespace tessaline {

WideString LaunchSlotPath(int slot) {
  const std::string number = std::to_string(slot);
  return u"init\\Launch" + WideString(number.begin(), number.end());
}

WideString ReadLaunchSlot(int slot) {
  WideString text;
  ReadRegistryText(HKEY_LOCAL_MACHINE, LaunchSlotPath(slot), text);
  return text;
}

int FindLaunchSlot(WideView part) {
  for (int slot = kFirstLaunchSlot; slot <= kLastLaunchSlot; ++slot) {
    if (ReadLaunchSlot(slot).find(part) != WideString::npos) return slot;
  }
  return 0;
}

bool LaunchSlotExists(int slot) {
  return RegistryValueExists(HKEY_LOCAL_MACHINE, LaunchSlotPath(slot));
}

bool WriteLaunchSlot(int slot, WideView text) {
  return WriteRegistryText(HKEY_LOCAL_MACHINE, LaunchSlotPath(slot), text);
}

bool DeleteLaunchSlot(int slot) {
  return DeleteRegistryValue(HKEY_LOCAL_MACHINE, LaunchSlotPath(slot));
}

}  // namespace tessaline
