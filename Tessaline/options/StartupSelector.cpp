#include "options/StartupSelector.h"

#include <windows.h>

#include "settings/LaunchSlots.h"
#include "settings/RegistryPath.h"
#include "settings/Settings.h"

namespace tessaline {
namespace {

constexpr const char16_t* kSelectorName = u"TSSelect.exe";

}  // namespace

bool StartupSelectorRegistered() { return FindLaunchSlot(kSelectorName) != 0; }

void RemoveStartupSelector() {
  if (const int slot = FindLaunchSlot(kSelectorName)) DeleteLaunchSlot(slot);
}

void AddStartupSelector() {
  for (int slot = kFirstLaunchSlot; slot <= kLastLaunchSlot; ++slot) {
    if (LaunchSlotExists(slot)) continue;
    WideString folder;
    if (!ReadRegistryText(HKEY_CLASSES_ROOT, WideString(kClassKey) + u"\\Path", folder)) {
      folder.clear();
    }
    WriteLaunchSlot(slot, folder + u"\\" + kSelectorName);
    return;
  }
}

}  // namespace tessaline
