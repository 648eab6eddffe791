#include "LaunchEntries.h"

#include <windows.h>

#include "Product.h"
#include "settings/LaunchSlots.h"
#include "settings/RegistryPath.h"

namespace tessaline::setup {

void CleanLaunchSlots() {
  for (int slot = kFirstLaunchSlot; slot <= kLastLaunchSlot; ++slot) {
    if (ReadLaunchSlot(slot).find(kProductWord) != WideString::npos) DeleteLaunchSlot(slot);
  }
}

void WriteDeferredUninstallEntry() {
  const std::wstring pathValue = std::wstring(kInputMethodClassKey) + L"\\Path";
  WideString folder;
  ReadRegistryText(HKEY_CLASSES_ROOT, reinterpret_cast<const char16_t*>(pathValue.c_str()), folder);
  if (folder.empty()) return;
  for (int slot = kFirstLaunchSlot; slot <= kLastLaunchSlot; ++slot) {
    if (ReadLaunchSlot(slot).empty()) {
      WriteLaunchSlot(slot, folder + u"\\Afterboot.exe");
      return;
    }
  }
}

}  // namespace tessaline::setup
