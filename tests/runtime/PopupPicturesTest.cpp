// Pictures of the candidate window and of the pressed-key pop-up for a person to look at,
// written as PNG files beside the panel pictures (panel-pictures/ in the build tree).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "DrawSupport.h"
#include "OwnerWindow.h"
#include "PngWriter.h"
#include "SettingsScope.h"
#include "languages/InterfaceTexts.h"
#include "panel/win32/PanelDraw.h"
#include "runtime/CandidateWnd.h"
#include "runtime/PressedWnd.h"
#include "runtime/RuntimeSeams.h"

namespace tessaline {
namespace {

using testing::Canvas;
using testing::HostToWindowsPath;
using testing::OwnerWindow;
using testing::SettingsScope;

constexpr RECT kInputWindow{0, 200, 240, 320};

void WritePng(const Canvas& canvas, const std::string& name) {
  const std::string folder = HostToWindowsPath(TESSALINE_PICTURES_DIR);
  std::filesystem::create_directories(folder);
  std::ofstream out(folder + "\\" + name, std::ios::binary | std::ios::trunc);
  const std::string png = testing::EncodePng(canvas.Width(), canvas.Height(), canvas.Rgb());
  out.write(png.data(), static_cast<std::streamsize>(png.size()));
  EXPECT_TRUE(out.good()) << name;
}

class PopupPicturesTest : public ::testing::Test {
 protected:
  PopupPicturesTest() : owner_(kInputWindow) {
    LoadInterfaceTextsFrom(
        HostToWindowsPath(std::string(TESSALINE_SOURCE_DIR) + "/data/Languages/English.chr"));
    GetSettings().SingleList = false;
  }
  ~PopupPicturesTest() override { FreeInterfaceTexts(); }

  SettingsScope settings_;
  OwnerWindow owner_;
};

TEST_F(PopupPicturesTest, CandidateWindow) {
  CCandidateWnd window;
  ASSERT_TRUE(window.Create(owner_.Get()));
  window.Place(&kInputWindow);
  RECT client{};
  GetClientRect(window.Handle(), &client);
  const auto picture = [&](const std::string& name) {
    Canvas canvas(client.right, client.bottom);
    window.Draw(canvas.Dc(), client.right, client.bottom);
    WritePng(canvas, name);
    // Every picture has its black outline and white or grey cells, never the canvas' black.
    EXPECT_EQ(canvas.Pixel(client.right / 2, 0), RGB(0, 0, 0));
    EXPECT_NE(canvas.Pixel(5, 3), RGB(0, 0, 0));
  };
  window.SetList({u"good", u"home", u"gone", u"hood", u""}, 3);
  picture("candidates-three-words.png");
  window.SetList({u"hello", u""}, 5);
  picture("candidates-one-word.png");
  window.Select(1);
  window.AppendSpelled(u's');  // edits the copy of the first word
  picture("candidates-spelling.png");
  EXPECT_EQ(window.CurrentWord(), u"hellos");
  window.SetList({u"zqx", u""}, 3);
  window.SetNoMatch(true);
  picture("candidates-no-match.png");
}

TEST_F(PopupPicturesTest, PressedKeyOverTheMainKeypad) {
  CreatePanelFonts();
  SetPopupScreenWidthSource([] { return 240; });
  const std::string path =
      HostToWindowsPath(std::string(TESSALINE_SOURCE_DIR) + "/data/Layouts/compact_white.pan");
  Skin skin;
  LoadSkin(skin, path, false);
  Panel panel;
  panel.SetSkin(&skin);
  panel.LoadLayout(path, "main");
  panel.SetSize(240, 120);
  panel.SetClip(240, 120);
  panel.SetCaption(5, 0, u"jkl");
  {
    CPressedWnd pressed;
    ASSERT_TRUE(pressed.Create(owner_.Get()));
    pressed.SetSkin(&skin);
    pressed.Show(&panel, 5, 1);
    RECT r{};
    GetWindowRect(pressed.Handle(), &r);
    // The application's white page above the panel, the panel below, the pop-up on the page.
    Canvas canvas(240, 80 + 120, RGB(255, 255, 255));
    panel.SetOrigin(0, 80);
    PaintPanel(panel, canvas.Dc(), true);
    const int top = 80 - (r.bottom - r.top);
    HDC dc = canvas.Dc();
    SetViewportOrgEx(dc, r.left, top, nullptr);
    pressed.Draw(dc, r.right - r.left, r.bottom - r.top);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    WritePng(canvas, "pressed-key.png");
    // The outer column is a seventeenth of the way from the white page to the back colour.
    const COLORREF back = SkinColor(skin, 0);
    EXPECT_EQ(canvas.Pixel(r.left, top),
              RGB(255 + (GetRValue(back) - 255) / 17, 255 + (GetGValue(back) - 255) / 17,
                  255 + (GetBValue(back) - 255) / 17))
        << std::hex << canvas.Pixel(r.left, top) << " " << canvas.Pixel(r.left + 16, top);
  }
  SetPopupScreenWidthSource(nullptr);
  DeletePanelFonts();
}

}  // namespace
}  // namespace tessaline
