// Dialog layouts built in memory: the dialog manager must make exactly the controls described.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "options/DialogTemplate.h"
#include "options/OptionsSheet.h"

namespace tessaline {
namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST(DialogTemplateTest, TheDialogManagerMakesTheDescribedControls) {
  DialogTemplate layout(WS_POPUP | WS_CAPTION, 120, 90, u"Caption \u00E9");
  // An odd-length caption and texts, so that item alignment is exercised.
  layout.AddControl(ControlClass::Static, 101, SS_LEFT, 5, 5, 100, 10, u"Primary");
  layout.AddControl(ControlClass::Button, 102, BS_AUTOCHECKBOX, 5, 20, 100, 10, u"Auto space");
  layout.AddControl(ControlClass::ListBox, 103, LBS_NOTIFY | WS_VSCROLL, 5, 35, 50, 30, u"");
  layout.AddControl(ControlClass::ComboBox, 104, CBS_DROPDOWNLIST, 60, 35, 50, 60, u"");
  layout.AddControl(u"msctls_trackbar32", 105, 0, 5, 70, 100, 12, u"");
  EXPECT_EQ(layout.ControlCount(), 5);
  RegisterOptionsControls();  // the trackbar class comes from the common controls

  HWND dialog =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), nullptr, PlainDialog, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(dialog), L"Caption \u00E9");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, 101)), L"Primary");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, 102)), L"Auto space");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, 102)), L"Button");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, 103)), L"ListBox");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, 104)), L"ComboBox");
  EXPECT_EQ(ClassOf(GetDlgItem(dialog, 105)), L"msctls_trackbar32");
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, 101), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(GetWindowLongW(GetDlgItem(dialog, 102), GWL_STYLE) & BS_TYPEMASK,
            static_cast<LONG>(BS_AUTOCHECKBOX));
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace tessaline
