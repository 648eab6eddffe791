// The rules of the options sheet, with pages made for the test: a page is initialised when its
// tab is first shown, and writes at OK only if it was; closing any other way writes nothing.
#include <windows.h>
// The common control headers build on <windows.h>.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SheetWatchdog.h"
#include "options/OptionsSheet.h"
#include "options/PropAbout.h"
#include "settings/Settings.h"

namespace tessaline {
namespace {

std::vector<std::string> events;

class RecordingPage : public CPropertyPage {
 public:
  RecordingPage(int tabText, std::string name) : CPropertyPage(tabText, u"Page"), name_(name) {
    Layout().AddControl(ControlClass::Button, 200, BS_PUSHBUTTON, 5, 5, 60, 14, u"Press");
  }

 protected:
  void BindControls() override { events.push_back(name_ + " bind"); }
  void OnInitialize() override { events.push_back(name_ + " init"); }
  void OnOk() override { events.push_back(name_ + " ok"); }
  bool OnCommand(WORD id, WORD code, HWND) override {
    if (id != 200 || code != BN_CLICKED) return false;
    events.push_back(name_ + " button");
    return true;
  }

 private:
  std::string name_;
};

OptionsPages ThreePages() {
  OptionsPages pages;
  pages.push_back(std::make_unique<RecordingPage>(9, "first"));
  pages.push_back(std::make_unique<RecordingPage>(10, "second"));
  pages.push_back(std::make_unique<RecordingPage>(16, "third"));
  return pages;
}

class OptionsSheetTest : public ::testing::Test {
 protected:
  OptionsSheetTest() { events.clear(); }
  testing::SheetWatchdog watchdog_;
};

TEST_F(OptionsSheetTest, OkWritesThePagesThatWereShownInTabOrder) {
  OptionsPages pages = ThreePages();
  const bool ok = ShowOptionsSheet(nullptr, pages, [](HWND sheet) {
    events.push_back("shown");
    PropSheet_SetCurSel(sheet, nullptr, 2);
    SendMessageW(GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), 200), BM_CLICK, 0, 0);
    PropSheet_PressButton(sheet, PSBTN_OK);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(events,
            (std::vector<std::string>{"first bind", "first init", "shown", "third bind",
                                      "third init", "third button", "first ok", "third ok"}));
}

TEST_F(OptionsSheetTest, CancelWritesNothing) {
  OptionsPages pages = ThreePages();
  const bool ok = ShowOptionsSheet(nullptr, pages, [](HWND sheet) {
    PropSheet_SetCurSel(sheet, nullptr, 1);
    PropSheet_PressButton(sheet, PSBTN_CANCEL);
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(events,
            (std::vector<std::string>{"first bind", "first init", "second bind", "second init"}));
}

TEST_F(OptionsSheetTest, TabsCarryTheirInterfaceTextsAndThereIsNoApplyButton) {
  OptionsPages pages = ThreePages();
  std::vector<std::wstring> tabs;
  bool applyVisible = true;
  std::wstring caption;
  ShowOptionsSheet(nullptr, pages, [&](HWND sheet) {
    wchar_t text[64] = {};
    GetWindowTextW(sheet, text, 64);
    caption = text;
    const HWND tabControl = PropSheet_GetTabControl(sheet);
    for (int i = 0; i < TabCtrl_GetItemCount(tabControl); ++i) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = 64;
      TabCtrl_GetItem(tabControl, i, &item);
      tabs.push_back(text);
    }
    const HWND apply = GetDlgItem(sheet, 0x3021);  // the sheet's Apply button
    applyVisible = apply && IsWindowVisible(apply);
    PropSheet_PressButton(sheet, PSBTN_CANCEL);
  });
  EXPECT_EQ(caption, L"Options");
  // No interface text file is held here, so each tab shows the fallback of its number.
  EXPECT_EQ(tabs, (std::vector<std::wstring>{L"Text #9", L"Text #10", L"Text #16"}));
  EXPECT_FALSE(applyVisible);
}

TEST_F(OptionsSheetTest, TheSheetOfTheInputMethodEndsWithAbout) {
  // An installation folder without languages: the Languages page, shown first, lists none.
  const Settings saved = GetSettings();
  SetSettingsText(GetSettings().Path, u"\\no such folder");
  OptionsPages pages = CreateOptionsPages();
  ASSERT_FALSE(pages.empty());
  EXPECT_NE(dynamic_cast<CPropAbout*>(pages.back().get()), nullptr);
  std::wstring about;
  const bool ok = ShowOptionsSheet(nullptr, pages, [&](HWND sheet) {
    PropSheet_SetCurSel(sheet, nullptr, static_cast<int>(pages.size()) - 1);
    wchar_t text[64] = {};
    GetWindowTextW(GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), kAboutTextId), text, 64);
    about = text;
    PropSheet_PressButton(sheet, PSBTN_OK);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(about, L"Tessaline v1.51");
  EXPECT_TRUE(pages.back()->Initialized());
  GetSettings() = saved;
}

TEST_F(OptionsSheetTest, NoPagesNoSheet) {
  OptionsPages none;
  bool shown = false;
  EXPECT_FALSE(ShowOptionsSheet(nullptr, none, [&](HWND) { shown = true; }));
  EXPECT_FALSE(shown);
}

}  // namespace
}  // namespace tessaline
