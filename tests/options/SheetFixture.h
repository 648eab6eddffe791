// The options sheet as a person uses it, under Wine: an installation folder of the test's own
// (device root in a temporary folder), the class key and the launch slots emptied and restored
// afterwards, message boxes answered by a recorder, and the real sheet opened through
// OpenOptions with a hook standing in for the person.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../settings/RegistrySnapshot.h"
#include "SheetWatchdog.h"
#include "support/TestFiles.h"
#include "system/WideText.h"

namespace tessaline::testing {

// Tab indexes.
enum Tab { kLanguagesTab, kInterfaceTab, kButtonsTab, kDictionaryTab, kFrequencyTab, kAboutTab };

// What a person does on the open sheet.
class SheetDriver {
 public:
  explicit SheetDriver(HWND sheet) : sheet_(sheet) {}
  HWND Sheet() const { return sheet_; }

  // Shows the tab (its page is made and initialised on the first visit).
  void SelectTab(int tab);
  HWND Page() const;
  HWND Item(int id) const;

  void Click(int id);
  // Selects an entry as the person's tap would, with the notification the control sends.
  void PickListEntry(int id, int index);
  void PickComboEntry(int id, int index);
  void MoveSlider(int id, int position);

  std::vector<std::u16string> ListEntries(int id) const;
  std::vector<std::u16string> ComboEntries(int id) const;
  int ListCount(int id) const;
  int ListSelection(int id) const;
  int ComboSelection(int id) const;
  bool Checked(int id) const;
  bool Enabled(int id) const;
  bool Visible(int id) const;
  std::u16string Text(int id) const;
  std::vector<std::u16string> TabCaptions() const;

 private:
  HWND sheet_;
};

class SheetTest : public ::testing::Test {
 protected:
  SheetTest();
  ~SheetTest() override;

  // Installation folder.
  void WriteInstalled(const std::string& relative, const std::string& bytes);
  std::string ReadInstalled(const std::string& relative) const;
  bool Installed(const std::string& relative) const;
  std::string InstalledPath(const std::string& relative) const;
  // A language of the repository's data/Languages (its .chr) with a vocabulary of the given
  // lower-case a-z words, which the English-like languages spell with the same letter codes.
  void InstallLanguage(const std::string& name, const std::vector<std::string>& words = {},
                       const std::string& shippedChr = "");
  void WriteUserDictionary(const std::string& language, const std::vector<std::u16string>& words,
                           const std::vector<std::pair<std::u16string, int>>& records,
                           uint32_t decayDay = 0);
  // The documents folder (a device path under the test's root), made on demand.
  std::string DocumentsFile(const std::string& name) const;
  void WriteDocument(const std::string& name, const std::string& bytes);

  // The class key.
  void StoreNumber(const wchar_t* name, DWORD value);
  void StoreText(const wchar_t* name, const std::u16string& text);
  std::optional<DWORD> StoredNumber(const wchar_t* name) const;
  std::u16string StoredText(const wchar_t* name) const;
  // The value as the input method reads it: the stored one, or its default when the key lacks it.
  std::optional<DWORD> SettingNumber(const wchar_t* name) const;
  std::u16string SettingText(const wchar_t* name) const;
  // HKEY_LOCAL_MACHINE\init\LaunchNN.
  void StoreSlot(int slot, const std::u16string& text);
  std::optional<std::u16string> Slot(int slot) const;

  // Loads the settings and interface texts as the input method would, opens the sheet, lets the
  // steps act on it and closes it with OK or Cancel. True when the sheet was shown.
  bool RunSheet(const std::function<void(SheetDriver&)>& steps, bool ok);

  MessageRecorder messages_;

 private:
  RegistrySnapshot classKey_;
  RegistrySnapshot launchSlots_;
  TempDir dir_;
  DeviceRootScope root_;
  SheetWatchdog watchdog_;
};

}  // namespace tessaline::testing
