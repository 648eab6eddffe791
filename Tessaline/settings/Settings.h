// The one process-wide record of user settings, one field per registry value under the input
// method's class key. Every subsystem reads it directly; the options pages write it; the Win32
// store (SettingsStore.h) loads and saves it.
#pragma once

#include <cstdint>
#include <string>

#include "system/ProductIds.h"
#include "system/WideText.h"

namespace tessaline {

constexpr size_t kSettingsTextUnits = 256;  // UTF-16 units, terminator included
constexpr size_t kSettingsButtonsUnits = 8192;

// The class key of the input method, under HKEY_CLASSES_ROOT.
constexpr const char16_t* kClassKey = kInputMethodClassKeyText;

// The user buttons as shipped: entries of caption, U+0002, key sequence, U+0001.
extern const char16_t kDefaultButtons[];

struct Settings {
  uint32_t UpdateCounter;
  int32_t NoiseGate;
  char16_t Locale[kSettingsTextUnits];
  char16_t Path[kSettingsTextUnits];
  char16_t ActiveLayout[kSettingsTextUnits];
  char16_t Language0[kSettingsTextUnits];
  char16_t Language1[kSettingsTextUnits];
  char16_t PanelFileName[kSettingsTextUnits];
  bool ThemeFilter;
  bool AddSpace;
  bool TruncWords;
  bool SingleList;
  bool ShowHint;
  bool AdaptiveVoc;
  int32_t FreqMax;
  int32_t FreqInc;
  char16_t Buttons[kSettingsButtonsUnits];

  bool operator==(const Settings&) const = default;
};

// The one record of the process.
Settings& GetSettings();

// Zeros the whole record, then sets the defaults (the first step of loading).
void ResetSettings(Settings& settings);

// Copies text into a fixed text field, cut to the field's size less the terminator; the rest of
// the field is zeroed.
template <size_t N>
void SetSettingsText(char16_t (&field)[N], WideView text) {
  const size_t n = text.size() < N - 1 ? text.size() : N - 1;
  for (size_t i = 0; i < N; ++i) field[i] = i < n ? text[i] : u'\0';
}

// The text of a field, up to its terminator.
template <size_t N>
WideString SettingsText(const char16_t (&field)[N]) {
  size_t n = 0;
  while (n < N && field[n] != u'\0') ++n;
  return WideString(field, n);
}

// ActiveLayout from narrow text (the system's multibyte code page), at most 255 characters.
void SetActiveLayout(const std::string& layoutName);

// The installation folder (Path). While Path is empty every request shows "Can't find registry
// PATH key" and yields the empty folder, so that paths become rooted at the top of the device.
struct InstallFolderText {
  std::string narrow;  // ANSI code page, at most 255 bytes
  WideString wide;
};
InstallFolderText InstallFolder();

// "%s\Layouts\%s" with the installation folder and PanelFileName.
struct PanelFilePathText {
  std::string narrow;
  WideString wide;
};
PanelFilePathText PanelFilePath();

// Positions by which the step to a further candidate moves: 1 with SingleList, else 3.
int CandidateStep();

// The last step of loading: when the configured panel file has no record at its top level,
// PanelFileName becomes "compact.pan" (in memory only).
void ApplyPanelFileFallback();

}  // namespace tessaline
