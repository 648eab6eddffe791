// The options launcher with the real sheet under Wine; a hook stands in for the person who
// presses OK or Cancel, so nothing waits on the modal sheet.
#include <windows.h>
// The common control headers build on <windows.h>.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../settings/RegistrySnapshot.h"
#include "SheetWatchdog.h"
#include "languages/InterfaceTexts.h"
#include "options/OpenOptions.h"
#include "options/PropAbout.h"
#include "platform/Sip.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "support/TestFiles.h"
#include "win32/Handles.h"

namespace tessaline {
namespace {

using testing::NumberBytes;
using testing::ReadRegistryKey;
using testing::ReadRegistryValue;
using testing::RegistrySnapshot;
using testing::TextBytes;
using testing::WriteRegistryValue;

const std::wstring kKey = reinterpret_cast<const wchar_t*>(kClassKey);

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

class OpenOptionsTest : public ::testing::Test {
 protected:
  OpenOptionsTest() : snapshot_(HKEY_CLASSES_ROOT, kKey), root_(dir_.Path()) {
    snapshot_.MakeEmpty();
    dir_.Write("Program files/Tessaline/Layouts/compact_white.pan", "default_sx=240\n");
    dir_.Write("Program files/Tessaline/Languages/English.chr",
               "text11=\"About\"\ntext15=\"Options are already open\"\n");
    WriteRegistryValue(HKEY_CLASSES_ROOT, kKey, L"Path", REG_SZ,
                       TextBytes(L"\\Program files\\Tessaline"));
    WriteRegistryValue(HKEY_CLASSES_ROOT, kKey, L"UpdateCounter", REG_DWORD, NumberBytes(5));
    LoadSettings();
    LoadInterfaceTexts();
    platform::ClearSipShowIMCalls();
    OptionsHooks hooks;
    hooks.wait = [this](unsigned ms) {
      events_.push_back("wait " + std::to_string(ms) + ", " +
                        std::to_string(platform::SipShowIMCalls().size()) +
                        " panel calls, stored " + std::to_string(StoredCounter()));
    };
    hooks.sheetShown = [this](HWND sheet) { OnSheetShown(sheet); };
    previous_ = SetOptionsHooks(hooks);
  }

  ~OpenOptionsTest() override {
    SetOptionsHooks(previous_);
    FreeInterfaceTexts();
    ResetSettings(GetSettings());
    platform::ClearSipShowIMCalls();
  }

  DWORD StoredCounter() {
    const auto value = ReadRegistryValue(HKEY_CLASSES_ROOT, kKey, L"UpdateCounter");
    return value && value->bytes.size() == 4 ? *reinterpret_cast<const DWORD*>(value->bytes.data())
                                             : 0xDEAD;
  }

  void OnSheetShown(HWND sheet) {
    ++sheetsShown_;
    caption_ = WindowText(sheet);
    const HWND tabs = PropSheet_GetTabControl(sheet);
    tabCount_ = TabCtrl_GetItemCount(tabs);
    wchar_t tabText[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = tabText;
    item.cchTextMax = 64;
    TabCtrl_GetItem(tabs, tabCount_ - 1, &item);
    lastTab_ = tabText;
    PropSheet_SetCurSel(sheet, nullptr, tabCount_ - 1);
    aboutText_ = WindowText(GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), kAboutTextId));
    if (whileOpen_) whileOpen_();
    PropSheet_PressButton(sheet, pressOk_ ? PSBTN_OK : PSBTN_CANCEL);
  }

  RegistrySnapshot snapshot_;
  testing::TempDir dir_;
  testing::DeviceRootScope root_;
  testing::SheetWatchdog watchdog_;
  OptionsHooks previous_;
  std::vector<std::string> events_;
  bool pressOk_ = false;
  std::function<void()> whileOpen_;
  int sheetsShown_ = 0;
  int tabCount_ = 0;
  std::wstring caption_, lastTab_, aboutText_;
};

TEST_F(OpenOptionsTest, TheSheetEndsWithTheAboutPage) {
  OpenOptions(nullptr);
  EXPECT_EQ(sheetsShown_, 1);
  EXPECT_EQ(caption_, L"Options");
  EXPECT_EQ(tabCount_, 6);
  EXPECT_EQ(lastTab_, L"About");  // interface text 11
  EXPECT_EQ(aboutText_, L"Tessaline v1.51");
}

TEST_F(OpenOptionsTest, OkWithoutChangesStillLeadsToARebuild) {
  const auto before = ReadRegistryKey(HKEY_CLASSES_ROOT, kKey);
  pressOk_ = true;
  OpenOptions(nullptr);
  ASSERT_EQ(sheetsShown_, 1);
  // The wait comes first, then the panel is hidden, then the save.
  EXPECT_EQ(events_, std::vector<std::string>{"wait 500, 0 panel calls, stored 5"});
  EXPECT_EQ(platform::SipShowIMCalls(), std::vector<DWORD>{SIPF_OFF});
  EXPECT_EQ(GetSettings().UpdateCounter, 7u);
  EXPECT_EQ(StoredCounter(), 6u);
  // Nothing changed, so nothing but the counter was written.
  auto after = ReadRegistryKey(HKEY_CLASSES_ROOT, kKey);
  ASSERT_TRUE(after && before);
  EXPECT_EQ(after->values.size(), before->values.size());
  after->values.erase(L"UpdateCounter");
  auto unchanged = *before;
  unchanged.values.erase(L"UpdateCounter");
  EXPECT_EQ(after->values, unchanged.values);

  // The next time the panel is shown: note the counter, reload, compare.
  const uint32_t noted = GetSettings().UpdateCounter;
  LoadSettings();
  EXPECT_NE(GetSettings().UpdateCounter, noted);
}

TEST_F(OpenOptionsTest, CancelSavesNothing) {
  const auto before = ReadRegistryKey(HKEY_CLASSES_ROOT, kKey);
  const Settings inMemory = GetSettings();
  OpenOptions(nullptr);
  EXPECT_EQ(sheetsShown_, 1);
  EXPECT_TRUE(events_.empty());
  EXPECT_TRUE(platform::SipShowIMCalls().empty());
  EXPECT_TRUE(GetSettings() == inMemory);
  EXPECT_EQ(ReadRegistryKey(HKEY_CLASSES_ROOT, kKey), before);
}

TEST_F(OpenOptionsTest, OpeningWhileOpenShowsText15AndChangesNothing) {
  testing::MessageRecorder messages;
  std::optional<testing::RegistryKeyImage> duringSecondOpen;
  const auto before = ReadRegistryKey(HKEY_CLASSES_ROOT, kKey);
  whileOpen_ = [&] {
    OpenOptions(nullptr);  // the second sheet
    duringSecondOpen = ReadRegistryKey(HKEY_CLASSES_ROOT, kKey);
    EXPECT_EQ(GetSettings().UpdateCounter, 5u);
    EXPECT_TRUE(platform::SipShowIMCalls().empty());
  };
  OpenOptions(nullptr);
  EXPECT_EQ(sheetsShown_, 1);
  EXPECT_EQ(duringSecondOpen, before);
  ASSERT_EQ(messages.Calls().size(), 1u);
  EXPECT_EQ(messages.Calls()[0].text, u"Options are already open");
  EXPECT_TRUE(messages.Calls()[0].hasCaption);
  EXPECT_TRUE(messages.Calls()[0].caption.empty());
  EXPECT_EQ(messages.Calls()[0].style, kMessageOk);

  // The guard goes with the sheet: the options open again afterwards.
  whileOpen_ = nullptr;
  OpenOptions(nullptr);
  EXPECT_EQ(sheetsShown_, 2);
  EXPECT_EQ(messages.Calls().size(), 1u);
}

TEST_F(OpenOptionsTest, ASheetOfAnotherProgramBlocksTheOptions) {
  win32::KernelHandle other(CreateMutexW(nullptr, FALSE, L"TessalineOptions"));
  ASSERT_TRUE(other);
  FreeInterfaceTexts();  // without interface texts the message is the fallback
  testing::MessageRecorder messages;
  const auto before = ReadRegistryKey(HKEY_CLASSES_ROOT, kKey);
  pressOk_ = true;
  OpenOptions(nullptr);
  other.Reset();
  EXPECT_EQ(sheetsShown_, 0);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Text #15"});
  EXPECT_EQ(GetSettings().UpdateCounter, 5u);
  EXPECT_EQ(ReadRegistryKey(HKEY_CLASSES_ROOT, kKey), before);
}

}  // namespace
}  // namespace tessaline
