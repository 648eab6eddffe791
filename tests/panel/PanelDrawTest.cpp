// Drawing with GDI under Wine: built-in pictures, tint, fonts, one button, a whole panel and the
// window notifications.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "DrawSupport.h"
#include "panel/BmpFile.h"
#include "panel/Tint.h"
#include "panel/win32/PanelDraw.h"
#include "support/TestFiles.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

using testing::Canvas;
using testing::MessageRecorder;
using testing::TempDir;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00,
                   kWhite = 0xFFFFFF, kGray = 0x808080, kBlack = 0;

// The picture of a button layout with 2 frames of 4 by 3: frame 0 red, frame 1 green, pressed
// row blue and yellow; the top-left pixel of every frame is white.
std::string FramesBmp() {
  std::vector<uint8_t> px(8 * 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      const int frame = x / 4, row = y / 3;
      uint8_t index = static_cast<uint8_t>(1 + frame + 2 * row);
      if (x % 4 == 0 && y % 3 == 0) index = 0;
      px[static_cast<size_t>(y * 8 + x)] = index;
    }
  }
  return WriteBmp8(8, 6, {kWhite, kRed, kGreen, kBlue, kYellow}, px);
}

// Plain gray 40 by 60 (two rows of 40 by 30).
std::string PlainBmp() { return WriteBmp8(40, 60, {kGray}, std::vector<uint8_t>(40 * 60, 0)); }

// Icon of 2 by 2 with its mask: only the top-left pixel is part of the icon, in red.
std::string IconBmp() { return WriteBmp8(4, 2, {kBlack, kRed, kWhite}, {1, 0, 0, 2, 0, 0, 2, 2}); }

class PanelDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreatePanelFonts();
    SetThemeColorOverride(RGB(150, 150, 150));
    dir_.Write("frames.bmp", FramesBmp());
    dir_.Write("plain.bmp", PlainBmp());
    dir_.Write("icon.bmp", IconBmp());
  }
  void TearDown() override {
    DeletePanelFonts();
    SetThemeColorOverride(std::nullopt);
  }
  std::string Path(const std::string& name) const { return dir_.Path() + "\\" + name; }

  // Loads a panel file made of the given text and its layout "main", its pictures tinted to the
  // theme when tint_ is set.
  void Load(const std::string& text) {
    dir_.Write("p.pan", text);
    LoadSkin(skin_, Path("p.pan"), tint_);
    panel_.FreeButtons();
    panel_.SetSkin(&skin_);
    panel_.LoadLayout(Path("p.pan"), "main");
  }
  Button& B(int id) { return *panel_.FindButton(id); }

  bool tint_ = false;
  TempDir dir_;
  Skin skin_;
  Panel panel_;
};

constexpr const char* kFramesPanel =
    "backcolor = 0x00FF00\n"
    "[button_layout=1]\n  bitmap = frames.bmp, 2; size = 0, 0, 4, 3\n[end]\n"
    "[layout=main]\n  default_sx = 40; default_sy = 30\n  button = 1, 1, 10, 5\n[end]\n";

TEST_F(PanelDrawTest, DesignScaleCopiesTheFrameUnscaledAndPressedButtonsShowRowOne) {
  Load(kFramesPanel);
  Canvas canvas(40, 30, RGB(0, 0, 0));
  DrawButton(B(1), canvas.Dc(), 0, 0, 40, 30, false, -1);
  EXPECT_EQ(canvas.Pixel(10, 5), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(11, 5), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(13, 7), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(14, 5), RGB(0, 0, 0));  // nothing beyond the frame's width
  B(1).state = 1;
  DrawButton(B(1), canvas.Dc(), 0, 0, 40, 30, false, -1);
  EXPECT_EQ(canvas.Pixel(11, 6), RGB(0, 0, 255));
  B(1).state = 2;  // latched looks pressed too
  B(1).frame = 1;
  DrawButton(B(1), canvas.Dc(), 0, 0, 40, 30, false, -1);
  EXPECT_EQ(canvas.Pixel(11, 6), RGB(255, 255, 0));
  B(1).state = 0;
  B(1).frame = 7;  // clamped to the last frame
  DrawButton(B(1), canvas.Dc(), 0, 0, 40, 30, false, -1);
  EXPECT_EQ(canvas.Pixel(11, 6), RGB(0, 255, 0));
  B(1).frame = -3;  // and to the first
  DrawButton(B(1), canvas.Dc(), 0, 0, 40, 30, false, -1);
  EXPECT_EQ(canvas.Pixel(11, 6), RGB(255, 0, 0));
}

TEST_F(PanelDrawTest, OtherSizesStretchTheFrame) {
  Load(kFramesPanel);
  Canvas canvas(80, 60, RGB(0, 0, 0));
  DrawButton(B(1), canvas.Dc(), 0, 0, 80, 60, false, -1);
  // Twice the design size: every picture pixel covers 2 by 2, from (20, 10).
  EXPECT_EQ(canvas.Pixel(20, 10), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(21, 11), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(22, 10), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(27, 15), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(28, 10), RGB(0, 0, 0));
  // With an origin, the button moves with the panel.
  Canvas moved(80, 60, RGB(0, 0, 0));
  DrawButton(B(1), moved.Dc(), 3, 4, 40, 30, false, -1);
  EXPECT_EQ(moved.Pixel(13, 9), RGB(255, 255, 255));
}

constexpr const char* kCaptionPanel =
    "[button_layout=2]\n  bitmap = plain.bmp; size = 0, 0, 40, 30\n"
    "  [cell=0]\n    rect = 0, 0, 40, 30; font = 2; color = 0x808080\n  [end]\n"
    "  [cell=1]\n    rect = 0, 0, 40, 20; font = 2; color = 0\n  [end]\n"
    "  [cell=2]\n    rect = 15, 0, 10, 30; font = 2; color = 0\n  [end]\n"
    "[end]\n"
    "[icon]\n  bitmap = icon.bmp; size = 0, 0, 2, 2; caption = \":dot:\"\n[end]\n"
    "[layout=main]\n  default_sx = 40; default_sy = 30\n  button = 2, 2, 0, 0\n[end]\n";

// Pixels of the canvas by colour.
std::multiset<COLORREF> Colours(const Canvas& canvas) {
  std::multiset<COLORREF> colours;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) colours.insert(canvas.Pixel(x, y));
  }
  return colours;
}

TEST_F(PanelDrawTest, HighlightInvertsTheLetterWithExclusiveOrOfE0E0E0) {
  Load(kCaptionPanel);
  // The text has the colour of the key, so only the highlight can change a pixel.
  const COLORREF inverted = RGB(0x80 ^ 0xE0, 0x80 ^ 0xE0, 0x80 ^ 0xE0);
  Canvas canvas(40, 30);
  panel_.SetCaption(2, 0, u"ab");
  DrawButton(B(2), canvas.Dc(), 0, 0, 40, 30, false, 0);
  auto colours = Colours(canvas);
  EXPECT_GT(colours.count(inverted), 20u);
  EXPECT_EQ(colours.count(inverted) + colours.count(RGB(0x80, 0x80, 0x80)), 40u * 30u);

  // Beyond the text, no highlight; the letters after U+0001 count only when all are shown.
  panel_.SetCaption(2, 0, u"a\u0001b");
  DrawButton(B(2), canvas.Dc(), 0, 0, 40, 30, false, 1);
  EXPECT_EQ(Colours(canvas).count(RGB(0x80, 0x80, 0x80)), 40u * 30u);
  DrawButton(B(2), canvas.Dc(), 0, 0, 40, 30, false, 5);
  EXPECT_EQ(Colours(canvas).count(RGB(0x80, 0x80, 0x80)), 40u * 30u);
  DrawButton(B(2), canvas.Dc(), 0, 0, 40, 30, true, 1);
  EXPECT_GT(Colours(canvas).count(inverted), 20u);
}

// First row with a dark pixel, or -1.
int FirstDarkRow(const Canvas& canvas, int x0 = 0, int x1 = -1) {
  if (x1 < 0) x1 = canvas.Width();
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = x0; x < x1; ++x) {
      if (GetRValue(canvas.Pixel(x, y)) < 0x40) return y;
    }
  }
  return -1;
}

TEST_F(PanelDrawTest, PressedCaptionsMoveDownOneDesignUnit) {
  Load(kCaptionPanel);
  panel_.SetCaption(2, 1, u"H");
  for (int scale : {1, 2}) {
    Canvas up(40 * scale, 30 * scale), down(40 * scale, 30 * scale);
    B(2).state = 0;
    DrawButton(B(2), up.Dc(), 0, 0, 40 * scale, 30 * scale, false, -1);
    B(2).state = 1;
    DrawButton(B(2), down.Dc(), 0, 0, 40 * scale, 30 * scale, false, -1);
    const int top = FirstDarkRow(up);
    ASSERT_GE(top, 0);
    EXPECT_EQ(FirstDarkRow(down), top + scale) << "scale " << scale;
  }
}

TEST_F(PanelDrawTest, OneCharacterStaysOnOneLineTwoAreSplitWhenTooWide) {
  Load(kCaptionPanel);
  Canvas one(40, 30), two(40, 30);
  panel_.SetCaption(2, 2, u"W");  // wider than its 10-pixel cell, still one centred line
  DrawButton(B(2), one.Dc(), 0, 0, 40, 30, false, -1);
  panel_.SetCaption(2, 2, u"WM");
  DrawButton(B(2), two.Dc(), 0, 0, 40, 30, false, -1);
  const int oneTop = FirstDarkRow(one);
  ASSERT_GT(oneTop, 2);                      // vertically centred: not at the top
  EXPECT_LT(FirstDarkRow(two), oneTop - 2);  // the first half at the top of the cell
  // The second half ends at the bottom of the cell: dark pixels in the last rows.
  bool darkLow = false;
  for (int y = 24; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) darkLow = darkLow || GetRValue(two.Pixel(x, y)) < 0x40;
  }
  EXPECT_TRUE(darkLow);
}

TEST_F(PanelDrawTest, IconsReplaceTheirCaptionMaskedThenOred) {
  Load(kCaptionPanel);
  panel_.SetCaption(2, 1, u":dot:");
  Canvas canvas(40, 30);
  DrawButton(B(2), canvas.Dc(), 0, 0, 40, 30, false, -1);
  // 2 by 2 centred in the cell (0, 0, 40, 20): from (19, 9).
  EXPECT_EQ(canvas.Pixel(19, 9), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(20, 9), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(canvas.Pixel(19, 10), RGB(0x80, 0x80, 0x80));
  const auto colours = Colours(canvas);
  EXPECT_EQ(colours.count(RGB(255, 0, 0)), 1u);  // no text was drawn for the caption
}

TEST_F(PanelDrawTest, FullPaintFillsWithTheBackColourAndOutlinesWithTheCurrentPen) {
  Load(kFramesPanel);
  panel_.SetSize(40, 30);
  panel_.SetOrigin(5, 5);
  panel_.SetClip(60, 50);
  Canvas canvas(60, 50, RGB(0, 0, 255));
  PaintPanel(panel_, canvas.Dc(), true);
  EXPECT_EQ(canvas.Pixel(30, 20), RGB(0, 255, 0));  // back colour
  EXPECT_EQ(canvas.Pixel(4, 20), RGB(0, 0, 0));     // outline at x - 1
  EXPECT_EQ(canvas.Pixel(30, 5), RGB(0, 0, 0));     // and along the top row
  EXPECT_EQ(canvas.Pixel(30, 35), RGB(0, 0, 0));    // and below the bottom
  EXPECT_EQ(canvas.Pixel(16, 11), RGB(255, 0, 0));  // the button at (10, 5) from the origin

  // An ordinary paint redraws only buttons whose state changed.
  SetPixel(canvas.Dc(), 16, 11, RGB(1, 2, 3));
  PaintPanel(panel_, canvas.Dc(), false);
  EXPECT_EQ(canvas.Pixel(16, 11), RGB(1, 2, 3));
  B(1).state = 1;
  PaintPanel(panel_, canvas.Dc(), false);
  EXPECT_EQ(canvas.Pixel(16, 11), RGB(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(30, 20), RGB(0, 255, 0));  // no background fill
}

TEST_F(PanelDrawTest, PanelsOutsideTheVisibleAreaOrWithoutSizeDrawNothing) {
  Load(kFramesPanel);
  Canvas canvas(60, 50, RGB(0, 0, 255));
  panel_.SetClip(40, 30);
  panel_.SetSize(40, 30);
  for (auto [x, y] : {std::pair{40, 0}, std::pair{-40, 0}, std::pair{0, 30}, std::pair{0, -30}}) {
    panel_.SetOrigin(x, y);
    PaintPanel(panel_, canvas.Dc(), true);
  }
  panel_.SetOrigin(0, 0);
  panel_.SetSize(0, 30);
  PaintPanel(panel_, canvas.Dc(), true);
  EXPECT_EQ(Colours(canvas).count(RGB(0, 0, 255)), 60u * 50u);
  // Visible by one pixel column: drawn.
  panel_.SetSize(40, 30);
  panel_.SetOrigin(-39, 0);
  PaintPanel(panel_, canvas.Dc(), true);
  EXPECT_LT(Colours(canvas).count(RGB(0, 0, 255)), 60u * 50u);
}

TEST_F(PanelDrawTest, SkinColourIsTintedOnlyWithThemeFilter) {
  Load("backcolor = 0x00C864; textcolor = 0x0A0B0C\n");
  SetThemeColorOverride(RGB(75, 75, 75));
  EXPECT_EQ(SkinColor(skin_, 0), 0x00C864u);
  EXPECT_EQ(SkinColor(skin_, 1), 0x0A0B0Cu);
  EXPECT_EQ(SkinColor(skin_, 2), 0u);
  SetThemeColorOverride(RGB(150, 150, 150));
  tint_ = true;
  Load("backcolor = 0x00C864; textcolor = 0x0A0B0C\n");
  EXPECT_EQ(SkinColor(skin_, 0), 0x00C864u);  // a theme of 150 everywhere changes nothing
  SetThemeColorOverride(RGB(75, 75, 75));
  EXPECT_EQ(SkinColor(skin_, 0), 0x00AC32u);  // 100 -> 50, 200 -> 172, 0 -> 0
  EXPECT_EQ(SkinColor(skin_, 5), 0u);
}

TEST_F(PanelDrawTest, TintMakesA24BitTopDownCopyWithTintedChannels) {
  // Channels 0, 100, 200 and 255 in one picture of 5 by 2.
  const std::string bmp =
      WriteBmp8(5, 2, {0x0064C8, 0xFF0000, 0x00FF64}, {0, 1, 2, 0, 1, 2, 0, 1, 2, 0});
  BmpImage image;
  ASSERT_TRUE(ParseBmp(bmp, image));
  HBITMAP source = static_cast<HBITMAP>(GdiBitmapFactory().FromBmp(image));
  ASSERT_NE(source, nullptr);
  SetThemeColorOverride(RGB(75, 75, 75));
  const win32::Bitmap tinted(TintBitmap(source, 5, 2));
  ASSERT_TRUE(tinted);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(tinted.Get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 8);  // 5 rounded down to 4, plus 4
  EXPECT_EQ(dib.dsBm.bmHeight, 2);
  EXPECT_EQ(dib.dsBmih.biBitCount, 24);
  // Top-down: the first row in memory is the top row (0, 50, 172 in blue, green, red order).
  GdiFlush();
  const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(bits[0], 172);
  EXPECT_EQ(bits[1], 50);
  EXPECT_EQ(bits[2], 0);
  EXPECT_EQ(dib.dsBm.bmWidthBytes, 24);  // 8 pixels of 3 bytes, no padding needed
  {
    const win32::MemoryDc dc(nullptr);
    const win32::SelectScope select(dc.Get(), tinted.Get());
    EXPECT_EQ(GetPixel(dc.Get(), 0, 0), RGB(0, 50, 172));  // 0x0064C8: red 0, green 100, blue 200
    EXPECT_EQ(GetPixel(dc.Get(), 1, 0), RGB(255, 0, 0));   // 255 stays, 0 stays
    EXPECT_EQ(GetPixel(dc.Get(), 2, 0), RGB(0, 255, 50));
  }
  EXPECT_EQ(TintBitmap(nullptr, 5, 2), nullptr);
}

TEST_F(PanelDrawTest, BuiltInPicturesHaveTheirNamesAndSizes) {
  const std::vector<std::pair<std::string, std::pair<int, int>>> table = {
      {"b_abc", {120, 60}},     {"lb_abc", {120, 80}},    {"b_blue", {40, 60}},
      {"b_close", {40, 60}},    {"b_next", {40, 60}},     {"b_t9", {80, 60}},
      {"lb_t9", {100, 80}},     {"b_white", {40, 60}},    {"b_gray", {40, 60}},
      {"lb_white", {50, 80}},   {"lb_gray", {50, 80}},    {"lb2_gray", {40, 80}},
      {"mb_white", {48, 80}},   {"b_options", {40, 60}},  {"b_userbutton", {60, 80}},
      {"splitter", {240, 30}},  {"i_copy", {40, 20}},     {"i_paste", {40, 20}},
      {"i_cut", {40, 20}},      {"i_delete", {40, 20}},   {"i_sel_all", {40, 20}},
      {"i_sel_line", {40, 20}}, {"i_sel_left", {40, 20}}, {"i_sel_right", {40, 20}},
      {"i_sys", {60, 330}}};
  ASSERT_EQ(table.size(), BuiltInBitmapNames().size());
  for (const auto& [name, size] : table) {
    EXPECT_TRUE(IsBuiltInBitmapName(name)) << name;
    const win32::Bitmap bitmap(static_cast<HBITMAP>(GdiBitmapFactory().BuiltIn(name)));
    ASSERT_TRUE(bitmap) << name;
    BITMAP info{};
    GetObjectW(bitmap.Get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, size.first) << name;
    EXPECT_EQ(info.bmHeight, size.second) << name;
    EXPECT_EQ(info.bmBitsPixel, 8) << name;
  }
}

TEST_F(PanelDrawTest, LoadSkinTintsButtonPicturesOnceAndLeavesIconsAlone) {
  tint_ = true;
  Load(
      "[button_layout=1]\n  bitmap = b_t9, 2; size = 0, 0, 40, 30\n[end]\n"
      "[button_layout=2]\n  bitmap = b_t9; size = 0, 0, 40, 30\n[end]\n"
      "[icon]\n  bitmap = i_sys; size = 0, 0, 30, 22; caption = x\n[end]\n");
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(skin_.FindButtonLayout(1)->bitmap, sizeof dib, &dib),
            static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 84);  // frames 2 x 40 = 80, plus 4
  EXPECT_EQ(dib.dsBm.bmHeight, 60);
  EXPECT_EQ(dib.dsBmih.biBitCount, 24);
  EXPECT_EQ(skin_.FindButtonLayout(2)->bitmap, skin_.FindButtonLayout(1)->bitmap);
  BITMAP icon{};
  GetObjectW(skin_.FindIcon(u"x")->bitmap, sizeof icon, &icon);
  EXPECT_EQ(icon.bmBitsPixel, 8);
}

TEST_F(PanelDrawTest, MissingBitmapFileIsReportedOnceWithItsPath) {
  MessageRecorder messages;
  Load(
      "[button_layout=1]\n  bitmap = nothere.bmp; size = 0, 0, 4, 3\n[end]\n"
      "[button_layout=2]\n  bitmap = nothere.bmp; size = 0, 0, 4, 3\n[end]\n"
      "[layout=main]\n  default_sx = 40; default_sy = 30\n  button = 1, 1, 0, 0\n[end]\n");
  ASSERT_EQ(messages.Calls().size(), 1u);
  EXPECT_EQ(messages.Texts()[0], Path("nothere.bmp"));
  EXPECT_EQ(messages.Calls()[0].caption, u"Can't load bitmap");
  // The button is drawn without a picture; nothing fails.
  Canvas canvas(40, 30, RGB(0, 0, 255));
  DrawButton(B(1), canvas.Dc(), 0, 0, 40, 30, false, -1);
  EXPECT_EQ(canvas.Pixel(1, 1), RGB(0, 0, 255));
}

TEST_F(PanelDrawTest, PanelFontsAreArialAtEightTwelveAndSixteenPoints) {
  const win32::CreatedDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  const int dpi = GetDeviceCaps(display.Get(), LOGPIXELSY);
  const int points[3] = {8, 12, 16};
  const int quality[3] = {6, 6, 4};
  for (int i = 0; i < 3; ++i) {
    LOGFONTW font{};
    ASSERT_EQ(GetObjectW(PanelFont(i + 1), sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, -(dpi * points[i] / 72));
    EXPECT_EQ(font.lfQuality, quality[i]);
    EXPECT_EQ(font.lfCharSet, 1);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
  }
  EXPECT_EQ(PanelFont(0), nullptr);
  EXPECT_EQ(PanelFont(4), nullptr);
  // Fonts live until the last user lets them go.
  CreatePanelFonts();
  DeletePanelFonts();
  EXPECT_NE(PanelFont(1), nullptr);
}

TEST_F(PanelDrawTest, DamagedNumbersDrawWhatFitsAndNothingElse) {
  tint_ = true;  // the tint area of 100000 frames is cut to the picture
  Load(
      "[button_layout=1]\n  bitmap = b_white, 100000; size = 0, 0, 2147483647, 30\n"
      "  [cell=0]\n    rect = 2147483647, -2147483648, 2147483647, 5\n  [end]\n[end]\n"
      "[button_layout=2]\n  bitmap = b_white; size = 0, 0, 40, 30\n"
      "  [cell=0]\n    rect = -2147483648, 0, 2147483647, 2147483647\n  [end]\n[end]\n"
      "[icon]\n  bitmap = i_sys; size = 2147483647, 0, 2147483647, 22; caption = x\n[end]\n"
      "[layout=main]\n  default_sx = 40; default_sy = 30\n"
      "  button = 1, 1, 0, 0\n  button = 2, 2, 1e30, -1e30\n  button = 3, 2, 0, 0\n[end]\n");
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(skin_.FindButtonLayout(1)->bitmap, sizeof dib, &dib),
            static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 44);  // the 40 pixels of the picture, rounded as always
  for (int id : {1, 2, 3}) panel_.SetCaption(id, 0, u"x");
  panel_.SetCaption(3, 0, u"wide text");
  panel_.SetSize(40, 30);
  panel_.SetClip(40, 30);
  Canvas canvas(40, 30);
  PaintPanel(panel_, canvas.Dc(), true);
  B(1).state = 1;
  PaintPanel(panel_, canvas.Dc(), false);
  // Button 3 is an ordinary key drawn after the others: its picture is there, untouched by the
  // captions and icons placed far outside.
  const win32::MemoryDc picture(nullptr);
  const win32::SelectScope select(picture.Get(),
                                  static_cast<HBITMAP>(skin_.FindButtonLayout(2)->bitmap));
  for (auto [x, y] : {std::pair{2, 2}, std::pair{20, 15}, std::pair{37, 27}}) {
    EXPECT_EQ(canvas.Pixel(x, y), GetPixel(picture.Get(), x, y));
  }
}

TEST(TessalineDll, CarriesTheBuiltInPicturesAsResources) {
  const std::string path = testing::HostToWindowsPath(TESSALINE_DLL_PATH);
  const std::wstring wide(path.begin(), path.end());
  const win32::Library library(LoadLibraryExW(wide.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(library) << path;
  SetBitmapModule(library.Get());
  for (const std::string& name : BuiltInBitmapNames()) {
    const win32::Bitmap bitmap(static_cast<HBITMAP>(GdiBitmapFactory().BuiltIn(name)));
    EXPECT_TRUE(bitmap) << name;
  }
  SetBitmapModule(nullptr);
}

}  // namespace
}  // namespace tessaline
