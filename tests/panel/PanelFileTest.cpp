// Reading panel files: skin, layouts, placement, identifiers, captions and panel height.
#include <gtest/gtest.h>

#include "panel/BmpFile.h"
#include "panel/PanelFile.h"
#include "support/TestFiles.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

using testing::MessageRecorder;
using testing::TempDir;

// Panel files in tests are written to a temporary folder and read back through the same reader
// the input method uses; the device path uses backslashes like the system's own paths.
class PanelFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& text) {
    dir_.Write(name, text);
    return dir_.Path() + "\\" + name;
  }
  TextSection Read(const std::string& text) { return ReadTextFile(Write("panel.pan", text)); }

  TempDir dir_;
};

constexpr const char* kSkinText =
    "backcolor = 0x102030; textcolor = 0x405060\n"
    "[button_layout=1]\n"
    "  bitmap = b_white; size = 1, 2, 40, 30\n"
    "  [cell=0]\n    rect = 0, 0, 40, 30; font = 2; color = 0xFF\n  [end]\n"
    "  [cell=1]\n    rect = 1, 1, 10, 10\n  [end]\n"
    "[end]\n"
    "[button_layout=1]\n  bitmap = b_gray; size = 0, 0, 99, 99\n[end]\n"
    "[button_layout=2]\n  bitmap = b_t9, 2; size = 0, 0, 40, 30\n"
    "  [cell=0]\n  [end]\n  [cell=1]\n  [end]\n  [cell=2]\n  [end]\n  [cell=3]\n  [end]\n"
    "  [cell=4]\n  [end]\n"
    "[end]\n"
    "[icon]\n  bitmap = i_sys; size = 0, 0, 30, 22; caption = \":abc0:\"\n[end]\n"
    "[icon]\n  bitmap = i_copy; size = 0, 0, 20, 20; caption = \":abc0:\"\n[end]\n";

TEST_F(PanelFileTest, SkinReadsColoursLayoutsCellsAndIconsFirstOfEachWins) {
  const std::string path = Write("panel.pan", kSkinText);
  Skin skin;
  skin.Read(ReadTextFile(path), path);
  EXPECT_EQ(skin.BackColor(), 0x102030u);
  EXPECT_EQ(skin.TextColor(), 0x405060u);
  EXPECT_EQ(skin.Folder(), dir_.Path() + "\\");

  const ButtonLayout* one = skin.FindButtonLayout(1);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->bitmapName, "b_white");  // the second section numbered 1 is ignored
  EXPECT_EQ(one->frames, 1);
  EXPECT_EQ(one->x, 1);
  EXPECT_EQ(one->w, 40);
  EXPECT_EQ(one->h, 30);
  ASSERT_EQ(one->cells.size(), 2u);
  EXPECT_EQ(one->cells[0].font, 2);
  EXPECT_EQ(one->cells[0].color, 0xFFu);
  EXPECT_EQ(one->cells[1].font, 0);  // defaults
  EXPECT_EQ(one->cells[1].color, 0u);

  const ButtonLayout* two = skin.FindButtonLayout(2);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(two->bitmapName, "b_t9");  // two frames of 40 by 30
  EXPECT_EQ(two->frames, 2);
  EXPECT_EQ(two->w, 40);
  EXPECT_EQ(two->h, 30);
  EXPECT_EQ(two->cells.size(), 4u);  // the fifth cell is ignored
  EXPECT_EQ(two->FindCell(4), nullptr);
  EXPECT_EQ(skin.FindButtonLayout(3), nullptr);

  const IconLayout* icon = skin.FindIcon(u":abc0:");
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->bitmapName, "i_sys");  // the first icon of a caption wins
  EXPECT_EQ(icon->h, 22);
  EXPECT_EQ(skin.Icons().size(), 1u);
}

TEST_F(PanelFileTest, MissingFileGivesDefaultSkinAndEmptyLayout) {
  const std::string path = dir_.Path() + "\\absent.pan";
  Skin skin;
  skin.Read(ReadTextFile(path), path);
  EXPECT_EQ(skin.BackColor(), 0u);
  EXPECT_EQ(skin.TextColor(), 0xFFFFFFu);
  EXPECT_TRUE(skin.ButtonLayouts().empty());
  Panel panel;
  panel.SetSkin(&skin);
  panel.LoadLayout(path, "main");
  EXPECT_TRUE(panel.Buttons().empty());
  EXPECT_EQ(panel.DefaultSx(), 240);
  EXPECT_EQ(panel.DefaultSy(), 80);
}

TEST_F(PanelFileTest, MalformedRecordsAreIgnoredAndNeverReadBeyondTheirValues) {
  // Keys standing alone and records with the wrong number of values.
  const TextSection root = Read(
      "backcolor\ntextcolor = 7, 8\n"
      "[button_layout=1]\n  bitmap\n  size = 1, 2, 3\n"
      "  [cell=0]\n    rect = 1, 2, 3\n    font\n    color\n  [end]\n"
      "[end]\n"
      "[button_layout=2]\n  bitmap = b_white, 0\n  size = 0, 0, 40, 30, 5\n[end]\n"
      "[icon]\n  bitmap\n  size = 1\n  caption\n[end]\n"
      "[layout=main]\n"
      "  default_sx\n  default_sx = 100, 200\n  button = 1, 1, 2\n  button = 1, 1, 2, 3, 4, 5\n"
      "  [button=7]\n    pos = 10\n    layout\n    toggle\n    event0\n    event1\n"
      "    caption = 0\n    caption = 0, a, b\n  [end]\n"
      "[end]\n");
  Skin skin;
  skin.Read(root, "x.pan");
  EXPECT_EQ(skin.BackColor(), 0u);
  EXPECT_EQ(skin.TextColor(), 7u);  // textcolor takes its first value
  const ButtonLayout* one = skin.FindButtonLayout(1);
  ASSERT_NE(one, nullptr);
  EXPECT_TRUE(one->bitmapName.empty());
  EXPECT_EQ(one->w, 0);
  EXPECT_EQ(one->cells[0].w, 0);
  const ButtonLayout* two = skin.FindButtonLayout(2);
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(two->frames, 1);  // a frame count below 1 becomes 1
  EXPECT_EQ(two->w, 0);       // five values are not a size

  Panel panel;
  panel.SetSkin(&skin);
  panel.LoadLayout(root, "main");
  EXPECT_EQ(panel.DefaultSx(), 240);
  ASSERT_EQ(panel.Buttons().size(), 1u);
  const Button& b = *panel.Buttons()[0];
  EXPECT_EQ(b.id, 7);
  EXPECT_EQ(b.x, 0.0f);  // a pos with one value is ignored
  EXPECT_EQ(b.layout, -1);
  EXPECT_EQ(b.event0, -1);
  EXPECT_TRUE(b.captions.empty());
}

TEST_F(PanelFileTest, LayoutRecordsPlaceButtonsWithTheDesignSizeReadSoFar) {
  const TextSection root = Read(
      "[button_layout=1]\n  bitmap = b_white; size = 0, 0, 40, 30\n[end]\n"
      "[layout=main]\n"
      "  default_sx = 120; default_sy = 60\n"
      "  button = 5, 1, 60, 30\n"
      "  button = 6, 1, 60, 30, true\n"
      "  default_sx = 240\n"
      "  button = 8, 9, 0, 0\n"
      "  [button=20]\n    pos = 60, 30\n    layout = 1\n    event0 = 12; event1 = 13\n"
      "    caption = 0, \"first\"\n    caption = 0, second\n    caption = 1, \"x y\"\n  [end]\n"
      "[end]\n"
      "[other=qwerty]\n  default_sx = 10\n[end]\n");
  Skin skin;
  skin.Read(root, "x.pan");
  Panel panel;
  panel.SetSkin(&skin);
  panel.LoadLayout(root, "main");
  ASSERT_EQ(panel.Buttons().size(), 4u);
  const Button& five = *panel.Buttons()[0];
  EXPECT_EQ(five.id, 5);
  EXPECT_EQ(five.event0, 5);
  EXPECT_EQ(five.event1, -1);
  EXPECT_FALSE(five.toggle);
  EXPECT_FLOAT_EQ(five.x, 0.5f);  // 60 of 120
  EXPECT_FLOAT_EQ(five.y, 0.5f);
  EXPECT_FLOAT_EQ(five.w, 40.0f / 120);
  EXPECT_FLOAT_EQ(five.h, 0.5f);
  EXPECT_TRUE(panel.Buttons()[1]->toggle);
  // Unknown button layout: kept, without a size.
  const Button& eight = *panel.Buttons()[2];
  EXPECT_EQ(eight.layout, 9);
  EXPECT_EQ(eight.w, 0.0f);
  EXPECT_EQ(eight.h, 0.0f);
  // The section comes after all records: it sees default_sx 240.
  const Button& section = *panel.Buttons()[3];
  EXPECT_EQ(section.id, 20);
  EXPECT_FLOAT_EQ(section.x, 0.25f);
  EXPECT_FLOAT_EQ(section.y, 0.5f);
  EXPECT_EQ(section.event0, 12);
  EXPECT_EQ(section.event1, 13);
  EXPECT_EQ(section.captions.at(0), u"first");
  EXPECT_EQ(section.captions.at(1), u"x y");
  EXPECT_EQ(panel.DefaultSx(), 240);
  EXPECT_EQ(panel.DefaultSy(), 60);

  // A 240-pixel panel puts the button at x = 0.5 on pixel 120 plus the origin.
  panel.SetSize(240, 60);
  panel.SetOrigin(7, 3);
  const PixelRect r = panel.ButtonRect(five);
  EXPECT_EQ(r.left, 127);
  EXPECT_EQ(r.top, 33);
  EXPECT_EQ(r.width, 80);
  EXPECT_EQ(r.height, 30);
}

TEST_F(PanelFileTest, LayoutNameMustMatchTheArgumentExactlyElseTheTopLevelServes) {
  const TextSection root = Read(
      "default_sx = 100\nbutton = 1, 0, 0, 0\n"
      "[anything=symbols]\n  default_sx = 50\n  button = 2, 0, 0, 0\n[end]\n"
      "[layout=symbols]\n  button = 3, 0, 0, 0\n[end]\n"
      "[layout=averyveryverylongname]\n  button = 4, 0, 0, 0\n[end]\n");
  Skin skin;
  Panel symbols, capitals, unknown, longName;
  for (Panel* p : {&symbols, &capitals, &unknown, &longName}) p->SetSkin(&skin);
  symbols.LoadLayout(root, "symbols");  // the first section with that argument, whatever its name
  ASSERT_EQ(symbols.Buttons().size(), 1u);
  EXPECT_EQ(symbols.Buttons()[0]->id, 2);
  EXPECT_EQ(symbols.DefaultSx(), 50);
  capitals.LoadLayout(root, "Symbols");  // arguments are lower case: capitals never match
  ASSERT_EQ(capitals.Buttons().size(), 1u);
  EXPECT_EQ(capitals.Buttons()[0]->id, 1);
  unknown.LoadLayout(root, "words");
  EXPECT_EQ(unknown.DefaultSx(), 100);
  longName.LoadLayout(root, "averyveryverylongname");  // cut to 17 characters in the file
  ASSERT_EQ(longName.Buttons().size(), 1u);
  EXPECT_EQ(longName.Buttons()[0]->id, 1);
}

TEST_F(PanelFileTest, DesignSizesBelowOneAreRaisedAfterReadingAndNeverDivideByZero) {
  const TextSection root = Read(
      "[layout=main]\n  default_sx = 0; default_sy = -5\n  button = 1, 0, 30, 40\n"
      "  default_sy = 20.9\n[end]\n");
  Skin skin;
  Panel panel;
  panel.SetSkin(&skin);
  panel.LoadLayout(root, "main");
  EXPECT_EQ(panel.DefaultSx(), 1);
  EXPECT_EQ(panel.DefaultSy(), 20);  // truncated
  ASSERT_EQ(panel.Buttons().size(), 1u);
  EXPECT_FLOAT_EQ(panel.Buttons()[0]->x, 30.0f);
  EXPECT_FLOAT_EQ(panel.Buttons()[0]->y, 40.0f);
}

TEST_F(PanelFileTest, LoadLayoutNeedsASkinAndAppends) {
  const TextSection root =
      Read("[layout=main]\n  default_sx = 120\n  button = 1, 0, 0, 0\n[end]\n");
  Panel panel;
  panel.LoadLayout(root, "main");
  EXPECT_TRUE(panel.Buttons().empty());
  EXPECT_EQ(panel.DefaultSx(), 240);
  Skin skin;
  panel.SetSkin(&skin);
  panel.SetSize(10, 10);
  panel.LoadLayout(root, "main");
  panel.LoadLayout(root, "main");
  EXPECT_EQ(panel.Buttons().size(), 2u);
  EXPECT_EQ(panel.Width(), 0);  // loading forgets the size
  panel.FreeButtons();
  EXPECT_TRUE(panel.Buttons().empty());
}

TEST_F(PanelFileTest, AutomaticIdentifiersCountUpAcrossLoadsAndAreNeverReused) {
  const TextSection root = Read("[layout=main]\n  [button]\n  [end]\n  [button]\n  [end]\n[end]\n");
  Skin skin;
  Panel first, second;
  first.SetSkin(&skin);
  second.SetSkin(&skin);
  first.LoadLayout(root, "main");
  second.LoadLayout(root, "main");
  ASSERT_EQ(first.Buttons().size(), 2u);
  ASSERT_EQ(second.Buttons().size(), 2u);
  const int a = first.Buttons()[0]->id;
  EXPECT_GE(a, kFirstAutomaticButtonId);
  EXPECT_EQ(first.Buttons()[1]->id, a + 1);
  EXPECT_EQ(second.Buttons()[0]->id, a + 2);
  EXPECT_EQ(second.Buttons()[1]->id, a + 3);
}

TEST_F(PanelFileTest, CaptionsAreConvertedFromTheAnsiCodePage) {
  const TextSection root =
      Read("[layout=main]\n  [button=1]\n    caption = 0, \"\xE9t\xE9\"\n  [end]\n[end]\n");
  Skin skin;
  Panel panel;
  panel.SetSkin(&skin);
  panel.LoadLayout(root, "main");
  ASSERT_EQ(panel.Buttons().size(), 1u);
  EXPECT_EQ(panel.Buttons()[0]->captions.at(0), AnsiToWide("\xE9t\xE9"));
}

TEST_F(PanelFileTest, FindSetAndClearCaptionsWorkOnTheFirstButtonOfAnId) {
  const TextSection root = Read(
      "[layout=main]\n  button = 4, 0, 0, 0\n  button = 4, 0, 10, 0\n"
      "  [button=9]\n    caption = 1, keep\n    caption = 0, gone\n  [end]\n[end]\n");
  Skin skin;
  Panel panel;
  panel.SetSkin(&skin);
  panel.LoadLayout(root, "main");
  ASSERT_EQ(panel.FindButton(4), panel.Buttons()[0].get());
  EXPECT_EQ(panel.FindButton(5), nullptr);
  panel.SetCaption(4, 0, u"abc");
  panel.SetCaption(4, 0, u"def");  // replaces
  panel.SetCaption(5, 0, u"nobody");
  EXPECT_EQ(panel.Buttons()[0]->captions.at(0), u"def");
  EXPECT_TRUE(panel.Buttons()[1]->captions.empty());
  panel.ClearCaptions();
  for (const auto& b : panel.Buttons()) EXPECT_EQ(b->captions.at(0), u"");
  EXPECT_EQ(panel.FindButton(9)->captions.at(1), u"keep");
}

TEST_F(PanelFileTest, PanelHeightFollowsTheActiveLayoutOrTheTopLevel) {
  const TextSection root = Read(
      "default_sx = 240; default_sy = 60\n"
      "[layout=main]\n  default_sx = 240; default_sy = 120\n[end]\n"
      "[layout=wide]\n  default_sx = 480, 1; default_sy = 100; default_sx = 200\n[end]\n"
      "[layout=broken]\n  default_sx = 0; default_sy = -3\n[end]\n");
  EXPECT_EQ(PanelHeightOf(root, "main", 240), 120);
  EXPECT_EQ(PanelHeightOf(root, "main", 480), 240);
  EXPECT_EQ(PanelHeightOf(root, "wide", 240), 120);  // the last record wins, any value count
  EXPECT_EQ(PanelHeightOf(root, "nosuchlayout", 240), 60);
  EXPECT_EQ(PanelHeightOf(root, "broken", 240), 240);  // sizes below 1 count as 1
  EXPECT_EQ(PanelHeightOf(TextSection(), "main", 240), 80);
  EXPECT_EQ(PanelHeightOf(TextSection(), "main", 241), 80);  // 80.33 rounds to 80
  EXPECT_EQ(PanelHeightOf(TextSection(), "main", 242), 81);  // 80.67 rounds to 81
}

TEST_F(PanelFileTest, PanelHeightReadsTheFileAndFindsTheLayoutByItsExactName) {
  testing::DeviceRootScope root(dir_.Path());
  dir_.Write("Tessaline/Layouts/p.pan", "[layout=qwerty]\n  default_sy = 160\n[end]\n");
  EXPECT_EQ(PanelHeight("\\Tessaline\\Layouts\\p.pan", "qwerty", 240), 160);
  EXPECT_EQ(PanelHeight("\\Tessaline\\Layouts\\p.pan", "QWERTY", 240), 80);
  EXPECT_EQ(PanelHeight("\\Tessaline\\Layouts\\none.pan", "qwerty", 240), 80);
}

// ---- Pictures of a skin, through a factory that records what it was asked ----

class FakeFactory : public BitmapFactory {
 public:
  SkinBitmap BuiltIn(const std::string& name) override {
    calls.push_back("builtin " + name);
    return New();
  }
  SkinBitmap FromBmp(const BmpImage& image) override {
    calls.push_back("file " + std::to_string(image.width) + "x" + std::to_string(image.height));
    return New();
  }
  SkinBitmap Tint(SkinBitmap bitmap, int w, int h) override {
    calls.push_back("tint " + std::to_string(w) + "x" + std::to_string(h));
    Free(bitmap);
    return New();
  }
  void Free(SkinBitmap bitmap) override {
    ++freed;
    delete static_cast<int*>(bitmap);
  }
  SkinBitmap New() {
    ++made;
    return new int(0);
  }
  std::vector<std::string> calls;
  int made = 0, freed = 0;
};

TEST_F(PanelFileTest, BitmapsAreCachedByNameBuiltInNamesAreExactAndFailuresAreCachedToo) {
  dir_.Write("mine.bmp", WriteBmp8(4, 2, {0, 0xFFFFFF}, std::vector<uint8_t>(8, 1)));
  dir_.Write("broken.bmp", "BM not a picture");
  const std::string path =
      Write("panel.pan",
            "[button_layout=1]\n  bitmap = b_t9, 2; size = 0, 0, 40, 30\n[end]\n"
            "[button_layout=2]\n  bitmap = b_t9, 1; size = 0, 0, 10, 10\n[end]\n"
            "[button_layout=3]\n  bitmap = B_White; size = 0, 0, 40, 30\n[end]\n"
            "[button_layout=4]\n  bitmap = B_White; size = 0, 0, 40, 30\n[end]\n"
            "[button_layout=5]\n  bitmap = mine.bmp; size = 0, 0, 4, 1\n[end]\n"
            "[button_layout=6]\n  bitmap = broken.bmp; size = 0, 0, 4, 1\n[end]\n"
            "[icon]\n  bitmap = i_sys; size = 0, 0, 30, 22; caption = x\n[end]\n");
  FakeFactory factory;
  {
    Skin skin;
    skin.Read(ReadTextFile(path), path);
    MessageRecorder messages;
    skin.LoadBitmaps(factory, true);
    // One message per name, with the full path as text and the fixed caption.
    ASSERT_EQ(messages.Calls().size(), 2u);
    EXPECT_EQ(messages.Texts()[0], dir_.Path() + "\\B_White");
    EXPECT_EQ(WideToUtf8(messages.Calls()[0].caption), "Can't load bitmap");
    EXPECT_EQ(messages.Texts()[1], dir_.Path() + "\\broken.bmp");
    EXPECT_EQ(factory.calls, (std::vector<std::string>{"builtin b_t9", "tint 80x60", "file 4x2",
                                                       "tint 4x2", "builtin i_sys"}));
    EXPECT_EQ(skin.FindButtonLayout(1)->bitmap, skin.FindButtonLayout(2)->bitmap);
    EXPECT_EQ(skin.FindButtonLayout(3)->bitmap, nullptr);
    EXPECT_EQ(skin.BitmapCache().count("B_White"), 1u);  // the empty result is cached
    EXPECT_NE(skin.FindIcon(u"x")->bitmap, nullptr);
  }
  EXPECT_EQ(factory.made, factory.freed);  // the skin frees every picture it holds
}

TEST_F(PanelFileTest, WithoutThemeFilterNothingIsTinted) {
  const std::string path =
      Write("panel.pan", "[button_layout=1]\n  bitmap = b_white; size = 0, 0, 40, 30\n[end]\n");
  FakeFactory factory;
  Skin skin;
  skin.Read(ReadTextFile(path), path);
  skin.LoadBitmaps(factory, false);
  EXPECT_EQ(factory.calls, (std::vector<std::string>{"builtin b_white"}));
}

TEST(BuiltInBitmapNames, AreTheTwentyFiveShippedPictures) {
  EXPECT_EQ(BuiltInBitmapNames().size(), 25u);
  EXPECT_TRUE(IsBuiltInBitmapName("lb2_gray"));
  EXPECT_FALSE(IsBuiltInBitmapName("B_WHITE"));
  EXPECT_FALSE(IsBuiltInBitmapName("b_white.bmp"));
}

}  // namespace
}  // namespace tessaline
