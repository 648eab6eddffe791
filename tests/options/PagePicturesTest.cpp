// Pictures of every page as it appears on the sheet, written as PNG files into options-pictures/
// of the build tree for a person to look at, with an English user dictionary loaded. The sheet
// must fit the device's 240-pixel-wide screen, and so must every control on its pages.
#include <windows.h>
// The common control headers build on <windows.h>.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../panel/DrawSupport.h"
#include "PngWriter.h"
#include "SheetFixture.h"
#include "options/PropButtons.h"
#include "options/PropVoc.h"

namespace tessaline::testing {
namespace {

constexpr int kScreenWidth = 240;

struct Shot {
  std::string name;
  int width = 0;
  int height = 0;
  std::vector<std::string> outside;  // controls that reach beyond the sheet's client area
};

// Copies the sheet, frame included, as the screen shows it.
Shot Capture(HWND sheet, const std::string& name) {
  RedrawWindow(sheet, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  RECT frame{};
  GetWindowRect(sheet, &frame);
  Shot shot{name, frame.right - frame.left, frame.bottom - frame.top, {}};
  Canvas canvas(shot.width, shot.height, RGB(255, 0, 255));
  {
    const win32::WindowDc screen(nullptr);
    BitBlt(canvas.Dc(), 0, 0, shot.width, shot.height, screen.Get(), frame.left, frame.top,
           SRCCOPY);
  }
  const std::string folder = HostToWindowsPath(TESSALINE_PICTURES_DIR);
  std::filesystem::create_directories(folder);
  const std::string png = EncodePng(shot.width, shot.height, canvas.Rgb());
  EXPECT_FALSE(png.empty()) << name;
  std::ofstream(folder + "\\" + name + ".png", std::ios::binary) << png;

  // Every visible control of the page lies inside the sheet.
  RECT client{};
  GetClientRect(sheet, &client);
  MapWindowPoints(sheet, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const HWND page = PropSheet_GetCurrentPageHwnd(sheet);
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r{};
    GetWindowRect(child, &r);
    if (r.left < client.left || r.right > client.right || r.bottom > client.bottom) {
      shot.outside.push_back(std::to_string(GetDlgCtrlID(child)));
    }
  }
  return shot;
}

class PagePicturesTest : public SheetTest {};

TEST_F(PagePicturesTest, EveryPageFitsTheDeviceScreen) {
  InstallLanguage("Russian", {}, "Russian");
  InstallLanguage("German", {}, "German");
  WriteInstalled("Layouts/compact.pan", "default_sx=240\n");
  WriteUserDictionary("English",
                      {u"tessaline", u"wiki", u"Zurich", u"blog", u"emoji", u"podcast", u"selfie",
                       u"hashtag", u"unfollow", u"webinar", u"vlog", u"app"},
                      {{u"the", 20},
                       {u"and", 17},
                       {u"cat", 9},
                       {u"dog", 9},
                       {u"keyboard", 5},
                       {u"pocket", 3},
                       {u"word", 1}},
                      100);
  StoreNumber(L"NoiseGate", 30);
  std::vector<Shot> shots;
  RunSheet(
      [&](SheetDriver& sheet) {
        const char* names[] = {"languages",  "interface", "buttons",
                               "dictionary", "frequency", "about"};
        for (int tab = 0; tab < 6; ++tab) {
          sheet.SelectTab(tab);
          if (tab == kButtonsTab) {
            shots.push_back(Capture(sheet.Sheet(), names[tab]));
            sheet.PickListEntry(kButtonListId, 2);
            sheet.Click(kRedefineButtonId);
            sheet.PickListEntry(kKeyListId, 0);
            sheet.Click(kAddKeyButtonId);
            sheet.PickListEntry(kKeyListId, 9);
            sheet.Click(kAddKeyButtonId);
            shots.push_back(Capture(sheet.Sheet(), "buttons-redefine"));
            sheet.Click(kCancelChordButtonId);
            continue;
          }
          shots.push_back(Capture(sheet.Sheet(), names[tab]));
        }
      },
      false);
  ASSERT_EQ(shots.size(), 7u);
  for (const Shot& shot : shots) {
    EXPECT_LE(shot.width, kScreenWidth) << shot.name;
    EXPECT_TRUE(shot.outside.empty())
        << shot.name << ": " << ::testing::PrintToString(shot.outside);
  }
}

}  // namespace
}  // namespace tessaline::testing
