// Draws every shipped layout at 240 pixels wide, the way the input window and the symbols pop-up
// show them, and writes the pictures as PNG files (panel-pictures/ in the build tree) for a
// person to look at. It also checks the pictures where a panel's look is fixed: back colour
// around the keys, the pressed row, and unscaled copies of the built-in key pictures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "DrawSupport.h"
#include "PngWriter.h"
#include "panel/Tint.h"
#include "panel/win32/PanelDraw.h"
#include "settings/Settings.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

using testing::Canvas;
using testing::HostToWindowsPath;

const char* const kLayouts[] = {"main", "symbols", "qwerty", "words", "userpad", "popup"};
const char16_t kSymbols[] = u"'\"()@/:_;+&%*=<>[]|$#^";

struct Picture {
  std::unique_ptr<Canvas> canvas;
  int height = 0;
};

class PanelPicturesTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    CreatePanelFonts();
    SetThemeColorOverride(RGB(150, 150, 150));  // a neutral theme leaves the pictures as drawn
    path_ = HostToWindowsPath(std::string(TESSALINE_SOURCE_DIR) + "/data/Layouts/" + GetParam());
    LoadSkin(skin_, path_, true);
    std::filesystem::create_directories(HostToWindowsPath(TESSALINE_PICTURES_DIR));
  }
  void TearDown() override {
    DeletePanelFonts();
    SetThemeColorOverride(std::nullopt);
  }

  // Loads a layout and fills in the captions the input window and the pop-up write at run time.
  void Prepare(Panel& panel, const std::string& name) {
    panel.SetSkin(&skin_);
    panel.LoadLayout(path_, name);
    if (name == "userpad") {
      // The shipped user buttons: label in cell 1, key script in cell 0.
      const WideString buttons = kDefaultButtons;
      int id = 30;
      size_t at = 0;
      while (at < buttons.size() && id <= 45) {
        const size_t end = buttons.find(u'\u0001', at);
        const WideString entry = buttons.substr(at, end - at);
        const size_t split = entry.find(u'\u0002');
        panel.SetCaption(id, 1, entry.substr(0, split));
        panel.SetCaption(id, 0, split == WideString::npos ? entry : entry.substr(split + 1));
        ++id;
        at = end == WideString::npos ? buttons.size() : end + 1;
      }
    }
    if (name == "popup") {
      for (int i = 0; i < 22; ++i) panel.SetCaption(100 + i, 0, WideString(1, kSymbols[i]));
    }
  }

  Picture Draw(Panel& panel, const std::string& name) {
    const TextSection root = ReadTextFile(path_);
    Picture picture;
    picture.height = PanelHeightOf(root, name, 240);
    picture.canvas = std::make_unique<Canvas>(240, picture.height);
    panel.SetSize(240, picture.height);
    panel.SetClip(240, picture.height);
    panel.SetOrigin(0, 0);
    Canvas& c = *picture.canvas;
    c.Fill(SkinColor(skin_, 0));
    PaintPanel(panel, c.Dc(), true);
    return picture;
  }

  void Save(const Picture& picture, const std::string& name) {
    std::string base = GetParam();
    base = base.substr(0, base.rfind('.'));
    const std::string file =
        HostToWindowsPath(std::string(TESSALINE_PICTURES_DIR) + "/" + base + "-" + name + ".png");
    const std::string png =
        testing::EncodePng(picture.canvas->Width(), picture.height, picture.canvas->Rgb());
    FILE* out = std::fopen(file.c_str(), "wb");
    ASSERT_NE(out, nullptr) << file;
    std::fwrite(png.data(), 1, png.size(), out);
    std::fclose(out);
  }

  std::string path_;
  Skin skin_;
};

TEST_P(PanelPicturesTest, EveryLayoutDrawsAsAWholeKeyboard) {
  for (const char* name : kLayouts) {
    SCOPED_TRACE(name);
    Panel panel;
    Prepare(panel, name);
    const Picture picture = Draw(panel, name);
    Save(picture, name);
    // Every key is drawn from an unscaled copy of its picture: the key's top-left corner shows
    // the seam colour of the built-in key pictures, never the panel's back colour.
    for (const auto& b : panel.Buttons()) {
      const PixelRect r = panel.ButtonRect(*b);
      EXPECT_NE(picture.canvas->Pixel(r.left + r.width / 2, r.top + r.height / 2),
                SkinColor(skin_, 0))
          << "key " << b->id << " left a hole";
    }
  }
}

TEST_P(PanelPicturesTest, PressedKeysAndLatchedStatesShowTheirRowAndFrame) {
  Panel panel;
  Prepare(panel, "main");
  Picture released = Draw(panel, "main");
  // A finger on key 5, the case key on capitals and the mode key on letter mode, as the input
  // window sets them.
  panel.FindButton(14)->frame = 1;
  panel.SetCaption(14, 0, u":abc1:");
  panel.FindButton(15)->frame = 0;
  panel.SetCaption(15, 0, u":t90:");
  panel.SetSize(240, released.height);
  panel.PenDown(75, 60);
  ASSERT_EQ(panel.PressedButtonId(), 5);
  Picture pressed = Draw(panel, "main");
  Save(pressed, "main-pressed");
  // The pressed key shows the second row of its picture, copied unscaled; the others the first.
  const PixelRect r = panel.ButtonRect(*panel.FindButton(5));
  const ButtonLayout& layout = *skin_.FindButtonLayout(panel.FindButton(5)->layout);
  {
    const win32::MemoryDc picture(nullptr);
    const win32::SelectScope select(picture.Get(), static_cast<HBITMAP>(layout.bitmap));
    for (auto [x, y] :
         {std::pair{4, 3}, std::pair{4, layout.h - 6}, std::pair{layout.w - 3, 20}}) {
      EXPECT_EQ(pressed.canvas->Pixel(r.left + x, r.top + y),
                GetPixel(picture.Get(), x, layout.h + y));
      EXPECT_EQ(released.canvas->Pixel(r.left + x, r.top + y), GetPixel(picture.Get(), x, y));
    }
  }

  // The pressed-key pop-up's look: a key 1.25 times larger with all its letters and the one
  // the next tap gives highlighted.
  Button& key = *panel.FindButton(7);
  panel.SetCaption(7, 0, u"pqrs\u00017");
  key.state = 0;
  const int pw = 300, ph = released.height * 5 / 4;
  Picture hint{std::make_unique<Canvas>(94, 52, SkinColor(skin_, 0)), 52};
  DrawButton(key, hint.canvas->Dc(), 16 - TruncToInt(key.x * pw + 0.5),
             1 - TruncToInt(key.y * ph + 0.5), pw, ph, true, 2);
  Save(hint, "hint");
}

TEST_P(PanelPicturesTest, TheSystemThemeTintsTheKeys) {
  // The same panel under a bluish theme, as a device with a coloured button face shows it.
  SetThemeColorOverride(RGB(120, 150, 210));
  Skin tinted;
  LoadSkin(tinted, path_, true);
  Panel panel;
  panel.SetSkin(&tinted);
  panel.LoadLayout(path_, "main");
  const TextSection root = ReadTextFile(path_);
  const int height = PanelHeightOf(root, "main", 240);
  Picture picture{std::make_unique<Canvas>(240, height), height};
  panel.SetSize(240, height);
  panel.SetClip(240, height);
  PaintPanel(panel, picture.canvas->Dc(), true);
  Save(picture, "main-tinted");
  EXPECT_EQ(SkinColor(tinted, 0), TintColor(skin_.BackColor(), RGB(120, 150, 210)));
}

INSTANTIATE_TEST_SUITE_P(BothSkins, PanelPicturesTest,
                         ::testing::Values("compact_white.pan", "compact.pan"));

}  // namespace
}  // namespace tessaline
