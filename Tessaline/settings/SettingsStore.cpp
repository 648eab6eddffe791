#include "settings/SettingsStore.h"

#include <windows.h>

#include <vector>

#include "settings/Settings.h"
#include "settings/SettingsValues.h"

namespace tessaline {
namespace {

const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

StoredValue ReadValue(HKEY key, const char16_t* name, size_t bufferBytes) {
  StoredValue value;
  std::vector<BYTE> buffer(bufferBytes);
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(bufferBytes);
  if (RegQueryValueExW(key, Wide(name), nullptr, &type, buffer.data(), &size) != ERROR_SUCCESS) {
    return value;
  }
  value.read = true;
  value.type = type;
  value.bytes.assign(reinterpret_cast<const char*>(buffer.data()),
                     size < bufferBytes ? size : bufferBytes);
  return value;
}

}  // namespace

void LoadSettings() {
  Settings& settings = GetSettings();
  ResetSettings(settings);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Wide(kClassKey), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    OverlayStoredValues(settings, [key](const char16_t* name, size_t bufferBytes) {
      return ReadValue(key, name, bufferBytes);
    });
    RegCloseKey(key);
  }
  ApplyPanelFileFallback();
}

long SaveSettings() {
  HKEY key = nullptr;
  const LONG status = RegOpenKeyExW(HKEY_CLASSES_ROOT, Wide(kClassKey), 0, KEY_SET_VALUE, &key);
  if (status != ERROR_SUCCESS) return status;
  for (const ValueToStore& value : ValuesToStore(GetSettings())) {
    // The bytes and, behind them, the unit that follows them in the record.
    std::string data = value.bytes;
    data.append(reinterpret_cast<const char*>(&value.followingUnit), sizeof value.followingUnit);
    RegSetValueExW(key, Wide(value.name), 0, value.type,
                   reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(value.bytes.size()));
  }
  RegCloseKey(key);
  return ERROR_SUCCESS;
}

void RaiseCounterAndSave() {
  ++GetSettings().UpdateCounter;
  SaveSettings();
  ++GetSettings().UpdateCounter;
}

}  // namespace tessaline
