#include "settings/SettingsStore.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Settings.h"
#include "settings/SettingsValues.h"
#include "win32/Handles.h"

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

// The record as this process last read it from the class key or wrote it there: what differs
// from it is what this process changed, and only that is written.
Settings& StoredCopy() {
  static Settings stored;
  return stored;
}

bool SameValue(const ValueToStore& a, const ValueToStore& b) {
  return a.type == b.type && a.bytes == b.bytes && a.followingUnit == b.followingUnit;
}

bool IsCounter(const ValueToStore& value) {
  return std::u16string_view(value.name) == u"UpdateCounter";
}

void WriteValue(HKEY key, const ValueToStore& value) {
  // The bytes and, behind them, the unit that follows them in the record.
  std::string data = value.bytes;
  data.append(reinterpret_cast<const char*>(&value.followingUnit), sizeof value.followingUnit);
  RegSetValueExW(key, Wide(value.name), 0, value.type, reinterpret_cast<const BYTE*>(data.data()),
                 static_cast<DWORD>(value.bytes.size()));
}

}  // namespace

void LoadSettings() {
  Settings& settings = GetSettings();
  ResetSettings(settings);
  win32::RegKey key;
  if (key.Open(HKEY_CLASSES_ROOT, Wide(kClassKey), KEY_READ) == ERROR_SUCCESS) {
    OverlayStoredValues(settings, [&key](const char16_t* name, size_t bufferBytes) {
      return ReadValue(key.Get(), name, bufferBytes);
    });
  }
  ApplyPanelFileFallback();
  // The fallback panel name counts as read: it is never stored.
  StoredCopy() = settings;
}

long SaveSettings() {
  win32::RegKey key;
  const LONG status = key.Open(HKEY_CLASSES_ROOT, Wide(kClassKey), KEY_SET_VALUE);
  if (status != ERROR_SUCCESS) return status;
  Settings& stored = StoredCopy();
  const std::vector<ValueToStore> now = ValuesToStore(GetSettings());
  const std::vector<ValueToStore> before = ValuesToStore(stored);
  for (size_t i = 0; i < now.size(); ++i) {
    // The change counter is only ever raised from what the key holds (RaiseCounterAndSave); a
    // value this process did not change is left as another program may have set it.
    if (IsCounter(now[i]) || (i < before.size() && SameValue(now[i], before[i]))) continue;
    WriteValue(key.Get(), now[i]);
  }
  key.Close();
  const uint32_t counter = stored.UpdateCounter;
  stored = GetSettings();
  stored.UpdateCounter = counter;
  return ERROR_SUCCESS;
}

void RaiseCounterAndSave() {
  SaveSettings();
  uint32_t counter = 0;
  win32::RegKey key;
  if (key.Open(HKEY_CLASSES_ROOT, Wide(kClassKey), KEY_QUERY_VALUE | KEY_SET_VALUE) !=
      ERROR_SUCCESS) {
    return;
  }
  const StoredValue value = ReadValue(key.Get(), u"UpdateCounter", kNumberValueBytes);
  if (value.read && value.type == REG_DWORD && value.bytes.size() == kNumberValueBytes) {
    std::memcpy(&counter, value.bytes.data(), kNumberValueBytes);
  }
  ++counter;
  RegSetValueExW(key.Get(), L"UpdateCounter", 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&counter), sizeof counter);
  key.Close();
  // One above the stored counter, so that this process too sees a change when the panel is next
  // shown (it notes the counter in memory and compares it with the one it reads).
  GetSettings().UpdateCounter = counter + 1;
  StoredCopy().UpdateCounter = counter;
}

}  // namespace tessaline
