// Press and release of buttons: strict hit tests, the halfway release point, toggles and the
// buttons that pen input reports.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "panel/PanelFile.h"
#include "support/TestFiles.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

// Two buttons of 40 by 40 on a 200 by 100 panel at (20, 10): button 7 at (0, 0), toggle 8 at
// (100, 0); and button 9 overlapping button 7.
class PanelInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TempDir dir;
    dir.Write("p.pan",
              "[button_layout=1]\n  size = 0, 0, 40, 40\n[end]\n"
              "[layout=main]\n  default_sx = 200; default_sy = 100\n"
              "  button = 7, 1, 0, 0\n  button = 8, 1, 100, 0, true\n  button = 9, 1, 30, 0\n"
              "[end]\n");
    const TextSection root = ReadTextFile(dir.Path() + "\\p.pan");
    skin_.Read(root, "p.pan");
    panel_.SetSkin(&skin_);
    panel_.LoadLayout(root, "main");
    panel_.SetSize(200, 100);
    panel_.SetOrigin(20, 10);
  }
  const Button& B(int id) { return *panel_.FindButton(id); }
  // Pen input, with the buttons it reports kept as (id, 1) for a press and (id, 0) for a tap.
  void PenDown(int x, int y) {
    const int id = panel_.PenDown(x, y);
    if (id >= 0) commands.emplace_back(id, 1);
  }
  void PenUp(int x, int y, bool tap) {
    const int id = panel_.PenUp(x, y, tap);
    if (id >= 0) commands.emplace_back(id, 0);
  }

  Skin skin_;
  Panel panel_;
  std::vector<std::pair<int, int>> commands;
};

TEST_F(PanelInputTest, PenDownReportsThePressedButtonAndPenUpTheTap) {
  PenDown(30, 20);  // inside 7 only
  EXPECT_EQ(B(7).state, 1);
  EXPECT_EQ(panel_.PressedButtonIndex(), 0);
  EXPECT_EQ(panel_.PressedButtonId(), 7);
  PenUp(31, 21, true);
  EXPECT_EQ(B(7).state, 0);
  EXPECT_TRUE(B(7).clicked);
  EXPECT_EQ(commands, (std::vector<std::pair<int, int>>{{7, 1}, {7, 0}}));
}

TEST_F(PanelInputTest, PenUpWithoutTheTapFlagReportsNothing) {
  PenDown(30, 20);
  PenUp(30, 20, false);
  EXPECT_EQ(commands, (std::vector<std::pair<int, int>>{{7, 1}}));
  EXPECT_EQ(B(7).state, 0);
}

TEST_F(PanelInputTest, HitTestsAreStrictOnEveryEdge) {
  PenDown(20, 20);  // on the left edge of 7 (x = 0 exactly)
  EXPECT_EQ(B(7).state, 0);
  PenUp(20, 20, true);
  PenDown(30, 10);  // on its top edge
  EXPECT_EQ(B(7).state, 0);
  PenUp(30, 10, true);
  EXPECT_TRUE(commands.empty());  // no button pressed: none reported either time
}

TEST_F(PanelInputTest, ReleaseHalfwayBackInsideStillClicks) {
  // Down inside 8 near its right edge (8 spans x 120..160), up just outside: the midpoint is in.
  PenDown(156, 30);
  ASSERT_EQ(B(8).state, 1);
  PenUp(162, 30, true);
  EXPECT_TRUE(B(8).clicked);
  EXPECT_EQ(B(8).state, 2);
  // A release far away restores the state from before the pen went down.
  PenDown(158, 30);
  PenUp(230, 30, true);
  EXPECT_EQ(B(8).state, 2);
  EXPECT_FLOAT_EQ(panel_.LastPointX(), (138.0f / 200 + 210.0f / 200) / 2);
}

TEST_F(PanelInputTest, ToggleGoesDownLatchesAndReleases) {
  std::vector<int> states;
  for (int tap = 0; tap < 2; ++tap) {
    PenDown(140, 30);
    states.push_back(B(8).state);
    PenUp(140, 30, true);
    states.push_back(B(8).state);
  }
  EXPECT_EQ(states, (std::vector<int>{1, 2, 1, 0}));
}

TEST_F(PanelInputTest, OverlappingButtonsBothPressButNoneIsReported) {
  PenDown(75, 30);  // 7 spans x 20..60 px and 9 spans 50..90: 75 is in 9 only
  EXPECT_EQ(panel_.PressedButtonId(), 9);
  PenUp(75, 30, true);
  commands.clear();
  PenDown(55, 30);  // inside both
  EXPECT_EQ(B(7).state, 1);
  EXPECT_EQ(B(9).state, 1);
  EXPECT_EQ(panel_.PressedButtonIndex(), -1);
  EXPECT_EQ(panel_.PressedButtonId(), -1);
  PenUp(55, 30, true);
  EXPECT_TRUE(commands.empty());
}

TEST_F(PanelInputTest, APanelWithoutSizeHitsNothing) {
  panel_.SetSize(0, 0);
  PenDown(30, 20);
  EXPECT_EQ(B(7).state, 0);
  PenUp(30, 20, true);
  EXPECT_TRUE(commands.empty());
}

TEST_F(PanelInputTest, ButtonsWithoutALayoutAreNeverHit) {
  testing::TempDir dir;
  dir.Write("p.pan", "[layout=main]\n  button = 3, 5, 0, 0\n[end]\n");
  Panel panel;
  panel.SetSkin(&skin_);
  panel.LoadLayout(dir.Path() + "\\p.pan", "main");
  panel.SetSize(240, 80);
  panel.PenDown(0, 0);
  panel.PenDown(1, 1);
  EXPECT_EQ(panel.PressedButtonId(), -1);
}

}  // namespace
}  // namespace tessaline
