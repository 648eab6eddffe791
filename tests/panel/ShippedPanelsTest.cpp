// The panel files that ship in data/Layouts: every layout the input window and the symbols
// pop-up load is there, every event the input window knows is reachable, and every key is a
// whole, fingertip-sized key on a 240-pixel-wide screen.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "panel/PanelFile.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

std::string ShippedPanel(const std::string& name) {
  std::string path = std::string(TESSALINE_SOURCE_DIR) + "/data/Layouts/" + name;
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') path = "Z:" + path;  // Wine maps the build machine to Z:
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
#endif
  return path;
}

const char* const kLayouts[] = {"main", "symbols", "qwerty", "words", "userpad", "popup"};

class ShippedPanelsTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedPanelsTest, EveryLayoutIsThereWithWholeFingertipKeys) {
  const std::string path = ShippedPanel(GetParam());
  const TextSection root = ReadTextFile(path);
  ASSERT_GT(root.RecordCount(), 0) << path;  // the settings' fallback test needs top-level records
  Skin skin;
  skin.Read(root, path);
  for (const char* name : kLayouts) {
    SCOPED_TRACE(name);
    EXPECT_NE(&FindLayoutSection(root, name), &root);
    Panel panel;
    panel.SetSkin(&skin);
    panel.LoadLayout(root, name);
    ASSERT_FALSE(panel.Buttons().empty());
    // One design unit is one pixel at 240 pixels: the pictures are copied unscaled.
    EXPECT_EQ(panel.DefaultSx(), 240);
    const int height = PanelHeightOf(root, name, 240);
    EXPECT_EQ(height, panel.DefaultSy());
    std::vector<PixelRect> rects;
    for (const auto& b : panel.Buttons()) {
      SCOPED_TRACE(b->id);
      const ButtonLayout* layout = skin.FindButtonLayout(b->layout);
      ASSERT_NE(layout, nullptr);
      // Built in, or a file that ships beside the panel file.
      if (!IsBuiltInBitmapName(layout->bitmapName)) {
        const std::string file = path.substr(0, path.find_last_of("/\\") + 1) + layout->bitmapName;
        FILE* picture = std::fopen(file.c_str(), "rb");
        EXPECT_NE(picture, nullptr) << file;
        if (picture) std::fclose(picture);
      }
      const PixelRect r = ButtonPixelRect(*b, 240, height, 0, 0);
      EXPECT_GE(r.left, 0);
      EXPECT_GE(r.top, 0);
      EXPECT_LE(r.left + r.width, 240);
      EXPECT_LE(r.top + r.height, height);
      if (b->id != 152) {  // the pop-up's close bar is a full-width strip
        EXPECT_GE(r.width, 40);
        EXPECT_GE(r.height, 30);
      }
      for (const PixelRect& o : rects) {
        const bool apart = r.left >= o.left + o.width || o.left >= r.left + r.width ||
                           r.top >= o.top + o.height || o.top >= r.top + r.height;
        EXPECT_TRUE(apart) << "overlaps a key at " << o.left << "," << o.top;
      }
      rects.push_back(r);
      for (const auto& [cell, text] : b->captions) {
        if (text.size() > 2 && text.front() == u':' && text.back() == u':') {
          EXPECT_NE(skin.FindIcon(text), nullptr) << WideToUtf8(text);
        }
      }
    }
  }
  for (const char16_t* caption : {u":abc0:", u":abc1:", u":abc2:", u":t90:", u":t91:"}) {
    EXPECT_NE(skin.FindIcon(caption), nullptr) << WideToUtf8(caption);
  }
}

TEST_P(ShippedPanelsTest, EveryEventOfTheInputWindowIsReachable) {
  const std::string path = ShippedPanel(GetParam());
  const TextSection root = ReadTextFile(path);
  Skin skin;
  skin.Read(root, path);
  std::set<int> events, mainIds, userpadIds, popupIds;
  for (const char* name : kLayouts) {
    Panel panel;
    panel.SetSkin(&skin);
    panel.LoadLayout(root, name);
    for (const auto& b : panel.Buttons()) {
      const std::string layout = name;
      if (layout == "popup") {
        popupIds.insert(b->id);
        continue;
      }
      events.insert(b->event0);
      events.insert(b->event1);
      if (layout == "main") mainIds.insert(b->id);
      if (layout == "userpad") userpadIds.insert(b->id);
      // Letter keys carry the key number as identifier and tap event (captions go by id).
      if ((b->id >= 1 && b->id <= 10) || (b->id >= 101 && b->id <= 115)) {
        EXPECT_EQ(b->event0, b->id) << name;
      }
      if (b->id == 11) EXPECT_EQ(b->event0, 11) << name;  // candidates commit through id 11
      if (b->id == 14) EXPECT_EQ(b->event0, 14) << name;
      if (b->id == 15) EXPECT_EQ(b->event0, 15) << name;
    }
  }
  for (int e : {0, 11, 12, 13, 14, 15, 16, 20, 301, 302, 400}) EXPECT_EQ(events.count(e), 1u) << e;
  for (int k = 1; k <= 10; ++k) EXPECT_EQ(mainIds.count(k), 1u) << k;
  for (int k = 101; k <= 115; ++k) EXPECT_EQ(events.count(k), 1u) << k;
  for (int id : {11, 12, 13, 14, 15, 16}) EXPECT_EQ(mainIds.count(id), 1u) << id;
  for (int id = 30; id <= 45; ++id) EXPECT_EQ(userpadIds.count(id), 1u) << id;
  for (int id = 100; id <= 121; ++id) EXPECT_EQ(popupIds.count(id), 1u) << id;
  EXPECT_EQ(popupIds.count(150), 1u);
  EXPECT_EQ(popupIds.count(151), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothSkins, ShippedPanelsTest,
                         ::testing::Values("compact_white.pan", "compact.pan"));

}  // namespace
}  // namespace tessaline
