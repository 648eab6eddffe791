// The candidate window as the user sees and touches it: where its cells lie and how they are
// coloured, what a tap and a drag do, and the two-second copy of the first word in the spelling
// entry.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "DrawSupport.h"
#include "OwnerWindow.h"
#include "SettingsScope.h"
#include "languages/InterfaceTexts.h"
#include "runtime/CandidateWnd.h"

namespace tessaline {
namespace {

using testing::Canvas;
using testing::OwnerWindow;
using testing::SettingsScope;

constexpr RECT kInputWindow{0, 200, 240, 320};
constexpr COLORREF kBlack = 0;
constexpr COLORREF kWhite = 0xFFFFFF;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// The same fonts the window makes, for measuring in the test.
win32::Font Arial(int weight) {
  const win32::CreatedDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  const int dpi = GetDeviceCaps(display.Get(), LOGPIXELSY);
  LOGFONTW font{};
  font.lfHeight = -(10 * dpi / 72);
  font.lfWeight = weight;
  lstrcpyW(font.lfFaceName, L"Arial");
  return win32::Font(CreateFontIndirectW(&font));
}

SIZE Measure(const wchar_t* text, int weight) {
  const win32::Font font = Arial(weight);
  const win32::MemoryDc dc(nullptr);
  const win32::SelectScope select(dc.Get(), font.Get());
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), text, lstrlenW(text), &size);
  return size;
}

class CandidateWndTest : public ::testing::Test {
 protected:
  CandidateWndTest() : owner_(kInputWindow) {
    LoadInterfaceTextsFrom(testing::HostToWindowsPath(std::string(TESSALINE_SOURCE_DIR) +
                                                      "/data/Languages/English.chr"));
    GetSettings().SingleList = false;
    EXPECT_TRUE(window_.Create(owner_.Get()));
    window_.Place(&kInputWindow);
  }
  ~CandidateWndTest() override { FreeInterfaceTexts(); }

  RECT Client() const {
    RECT r{};
    GetClientRect(window_.Handle(), &r);
    return r;
  }
  // The window's picture as it would be painted now.
  std::unique_ptr<Canvas> Picture() {
    const RECT r = Client();
    auto canvas = std::make_unique<Canvas>(r.right, r.bottom, RGB(1, 2, 3));
    window_.Draw(canvas->Dc(), r.right, r.bottom);
    return canvas;
  }
  void Tap(int x, int y) {
    SendMessageW(window_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(window_.Handle(), WM_LBUTTONUP, 0, At(x, y));
  }

  SettingsScope settings_;
  OwnerWindow owner_;
  CCandidateWnd window_;
};

TEST_F(CandidateWndTest, SitsDirectlyAboveTheInputWindowAcrossItsWidth) {
  const int height = 2 * Measure(L"OqOO", FW_BOLD).cy;
  EXPECT_EQ(window_.WindowHeight(), height);
  RECT r{};
  GetWindowRect(window_.Handle(), &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 240);
  EXPECT_EQ(r.bottom, 200);
  EXPECT_EQ(r.top, 200 - height);
  const LONG_PTR exStyle = GetWindowLongPtrW(window_.Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(window_.Handle(), GW_OWNER), owner_.Get());
  window_.Place(nullptr);  // hidden: moved to the corner with no size, still "visible"
  GetWindowRect(window_.Handle(), &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 0);
  EXPECT_EQ(r.bottom, 0);
}

// Changes in one go are painted once, but every change after a paint reaches the screen again,
// also when the window was hidden in between; the screen then shows what Draw draws.
TEST_F(CandidateWndTest, EveryChangeAfterAPaintReachesTheScreen) {
  const auto pending = [this] { return GetUpdateRect(window_.Handle(), nullptr, FALSE) != FALSE; };
  const auto onScreen = [this] {
    const RECT r = Client();
    auto canvas = std::make_unique<Canvas>(r.right, r.bottom, RGB(1, 2, 3));
    const win32::WindowDc screen(window_.Handle());
    BitBlt(canvas->Dc(), 0, 0, r.right, r.bottom, screen.Get(), 0, 0, SRCCOPY);
    return canvas;
  };
  const auto expectShown = [&] {
    auto wanted = Picture();
    auto shown = onScreen();
    EXPECT_EQ(shown->Rgb(), wanted->Rgb());
  };
  window_.SetList({u"of", u"me", u"od", u""}, 2);
  window_.SetNoMatch(false);
  window_.Place(&kInputWindow);
  EXPECT_TRUE(pending());
  UpdateWindow(window_.Handle());
  EXPECT_FALSE(pending());
  expectShown();

  const std::function<void()> changes[] = {
      [&] { window_.Select(1); },           [&] { window_.SetNoMatch(true); },
      [&] { window_.SetCaseState(2); },     [&] { window_.Select(3); },
      [&] { window_.AppendSpelled(u'x'); }, [&] { window_.RemoveLastSpelled(); },
  };
  for (const auto& change : changes) {
    change();
    EXPECT_TRUE(pending());
    UpdateWindow(window_.Handle());
    expectShown();
  }

  // Hidden, given a new list while hidden, and shown again: the new list is painted.
  window_.Place(nullptr);
  window_.SetList({u"go", u"in", u""}, 2);
  window_.SetCaseState(0);
  window_.Place(&kInputWindow);
  EXPECT_TRUE(pending());
  UpdateWindow(window_.Handle());
  expectShown();
  // Placed where it is already: only a repaint, and the picture stays right.
  window_.Place(&kInputWindow);
  UpdateWindow(window_.Handle());
  expectShown();
}

TEST_F(CandidateWndTest, ThreeEntriesPutTheSelectedWordInTheMiddle) {
  window_.SetList({u"of", u"me", u"od", u""}, 2);
  ASSERT_EQ(Client().right, 240);
  const int mid = Client().bottom / 2;
  auto picture = Picture();
  // Cells at x 1..80, 80..160 and 160..240 (one-pixel black outlines inside each).
  for (int x : {0, 1, 79, 80, 159, 160, 239}) EXPECT_EQ(picture->Pixel(x, mid), kBlack) << x;
  EXPECT_EQ(picture->Pixel(2, mid), kWhite);
  EXPECT_EQ(picture->Pixel(81, 2), kWhite);
  EXPECT_EQ(picture->Pixel(238, 2), kWhite);
  EXPECT_EQ(picture->Pixel(120, 0), kBlack);  // the window's own outline and the cells' tops
  EXPECT_EQ(picture->Pixel(120, 1), kBlack);
  ASSERT_EQ(window_.ItemRects().size(), 3u);
  EXPECT_EQ(window_.ItemRects()[0].left, 80);  // drawing order: the selected one first
  EXPECT_EQ(window_.ItemRects()[1].left, 1);

  // The pen on the middle cell presses the selected entry, on x = 80 the left one (the edge
  // belongs to the cell on its left).
  SendMessageW(window_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(81, mid));
  EXPECT_EQ(window_.Pressed(), 0);
  EXPECT_EQ(Picture()->Pixel(81, 2), kPressedCellColor);
  SendMessageW(window_.Handle(), WM_LBUTTONUP, 0, At(81, mid));
  EXPECT_EQ(owner_.Commands(), (std::vector<std::pair<int, int>>{{11, 0}}));
  SendMessageW(window_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(80, mid));
  EXPECT_EQ(window_.Pressed(), 1);
  SendMessageW(window_.Handle(), WM_LBUTTONUP, 0, At(80, mid));
  // A word that was not selected is selected and committed by the one tap.
  EXPECT_EQ(owner_.Commands(), (std::vector<std::pair<int, int>>{{11, 0}, {11, 0}}));
  EXPECT_EQ(window_.CurrentWord(), u"me");
  EXPECT_EQ(window_.Pressed(), -1);

  // From entry 1 the spelling entry is the third shown: the right slot, light grey.
  window_.Select(1);
  picture = Picture();
  EXPECT_EQ(picture->Pixel(238, 2), kSpellingCellColor);
  EXPECT_EQ(picture->Pixel(2, 2), kWhite);
  EXPECT_EQ(picture->Pixel(81, 2), kWhite);
}

TEST_F(CandidateWndTest, OneWordAndTheSpellingEntryShareTheWidth) {
  window_.SetList({u"a", u""}, 1);
  const int mid = Client().bottom / 2;
  auto picture = Picture();
  // k = 2: the word on the left (1..120), the spelling entry on the right (120..240).
  for (int x : {1, 119, 120, 239}) EXPECT_EQ(picture->Pixel(x, mid), kBlack) << x;
  EXPECT_EQ(picture->Pixel(3, 2), kWhite);
  EXPECT_EQ(picture->Pixel(121, 2), kSpellingCellColor);
  // The spelling entry alone fills the window.
  window_.Select(1);
  picture = Picture();
  EXPECT_EQ(picture->Pixel(2, 2), kSpellingCellColor);
  EXPECT_EQ(picture->Pixel(237, 2), kSpellingCellColor);
  // A single list shows one entry at a time.
  GetSettings().SingleList = true;
  window_.SetList({u"a", u"b", u""}, 1);
  picture = Picture();
  EXPECT_EQ(picture->Pixel(120, mid), picture->Pixel(120, 2));  // no outline in the middle
  ASSERT_EQ(window_.ItemRects().size(), 1u);
  EXPECT_EQ(window_.ItemRects()[0].right, 240);
}

// The first x of a run of the colour on a row, and its length (-1, 0 when there is none).
std::pair<int, int> ColorRun(const Canvas& canvas, int y, int from, int to, COLORREF color) {
  int start = -1, length = 0;
  for (int x = from; x < to; ++x) {
    if (canvas.Pixel(x, y) == color) {
      if (start < 0) start = x;
      ++length;
    } else if (start >= 0) {
      break;
    }
  }
  return {start, length};
}

// The leftmost pixel of the cell that is neither its fill nor the tint: where the text begins.
int TextStart(const Canvas& canvas, const RECT& cell, COLORREF fill) {
  for (int x = cell.left + 1; x < cell.right - 1; ++x) {
    for (int y = cell.top + 1; y < cell.bottom - 1; ++y) {
      const COLORREF c = canvas.Pixel(x, y);
      if (c != fill && c != kTypedPrefixColor) return x;
    }
  }
  return -1;
}

TEST_F(CandidateWndTest, TheTypedPartOfEachWordIsTintedAndWordsAreRightAligned) {
  window_.SetList({u"hello", u"hellish", u"helm", u""}, 3);
  auto picture = Picture();
  // Selected word, bold, in the middle cell (80..160): its text ends 2 pixels in from the right
  // edge, and a grey mark as wide as "hel" lies behind its beginning, the whole cell high.
  const int boldWidth = Measure(L"hello", FW_BOLD).cx;
  const int boldPrefix = Measure(L"hel", FW_BOLD).cx;
  const auto [start, length] = ColorRun(*picture, 2, 81, 159, kTypedPrefixColor);
  EXPECT_EQ(start, 160 - 2 - boldWidth);
  EXPECT_EQ(length, boldPrefix);
  EXPECT_EQ(ColorRun(*picture, Client().bottom - 3, 81, 159, kTypedPrefixColor).first, start);
  EXPECT_EQ(picture->Pixel(start + length, 2), kWhite);
  // The next word, in the normal font, in the left cell.
  const auto left = ColorRun(*picture, 2, 2, 79, kTypedPrefixColor);
  EXPECT_EQ(left.first, 80 - 2 - Measure(L"hellish", FW_NORMAL).cx);
  EXPECT_EQ(left.second, Measure(L"hel", FW_NORMAL).cx);
  // The spelling entry never gets the mark.
  window_.Select(3);
  picture = Picture();
  EXPECT_EQ(ColorRun(*picture, 2, 2, 238, kTypedPrefixColor).second, 0);
}

TEST_F(CandidateWndTest, NoMatchAndCaseChangeOnlyTheTextShown) {
  const RECT middle = CandidateCellRect(240, Client().bottom, 3, 1);
  window_.SetList({u"gone", u"home", u""}, 0);
  const int plain = TextStart(*Picture(), middle, kWhite);
  window_.SetNoMatch(true);
  const int marked = TextStart(*Picture(), middle, kWhite);
  EXPECT_NEAR(plain - marked, Measure(L"gone  ?", FW_BOLD).cx - Measure(L"gone", FW_BOLD).cx, 1);
  window_.SetNoMatch(false);

  // Capitals: the same picture as the words typed in capitals.
  const auto pictureOf = [&](std::vector<WideString> words, int caseState) {
    window_.SetList(std::move(words), 0);
    window_.SetCaseState(caseState);
    return Picture()->Rgb();
  };
  const std::vector<WideString> words = {u"gone", u"home", u"hood", u""};
  EXPECT_TRUE(pictureOf(words, 1) == pictureOf({u"GONE", u"HOME", u"HOOD", u""}, 0));
  EXPECT_TRUE(pictureOf(words, 2) == pictureOf({u"Gone", u"Home", u"Hood", u""}, 0));
  EXPECT_FALSE(pictureOf(words, 0) == pictureOf({u"Gone", u"Home", u"Hood", u""}, 0));
}

TEST_F(CandidateWndTest, AWordWiderThanItsCellLosesItsBeginning) {
  window_.SetList({u"a", u"incomprehensibilities", u"b", u""}, 0);
  const RECT left = CandidateCellRect(240, Client().bottom, 3, 0);
  auto picture = Picture();
  // Text runs right up to the clipping edge at the left (cell.left + 3) ...
  EXPECT_EQ(TextStart(*picture, left, kWhite), left.left + 3);
  // ... and nothing is drawn in the 3-pixel margin.
  for (int y = left.top + 1; y < left.bottom - 1; ++y) {
    EXPECT_EQ(picture->Pixel(left.left + 1, y), kWhite);
    EXPECT_EQ(picture->Pixel(left.left + 2, y), kWhite);
  }
}

TEST_F(CandidateWndTest, TheSpellingEntryTakesTwoTaps) {
  window_.SetList({u"word", u""}, 4);
  const int mid = Client().bottom / 2;
  Tap(200, mid);  // first tap: selects it, with the first word to start from
  EXPECT_TRUE(window_.SpellingMode());
  EXPECT_EQ(window_.Spelled(), u"word");
  EXPECT_TRUE(owner_.Commands().empty());
  // Two seconds later the copy is gone; a tap on the empty entry commits nothing.
  SendMessageW(window_.Handle(), WM_TIMER, CCandidateWnd::kSpelledCopyTimer, 0);
  EXPECT_EQ(window_.Spelled(), u"");
  Tap(120, mid);
  EXPECT_TRUE(owner_.Commands().empty());
  // Letters added: the second tap commits the spelled word.
  window_.AppendSpelled(u'w');
  window_.AppendSpelled(u'x');
  EXPECT_TRUE(window_.RemoveLastSpelled());
  EXPECT_EQ(window_.CurrentWord(), u"w");
  Tap(120, mid);
  EXPECT_EQ(owner_.Commands(), (std::vector<std::pair<int, int>>{{11, 0}}));
  // Starting to edit the copied word within two seconds keeps it: the timer is stopped.
  window_.Select(0);
  window_.Select(1);
  window_.AppendSpelled(u's');
  EXPECT_FALSE(KillTimer(window_.Handle(), CCandidateWnd::kSpelledCopyTimer));
  EXPECT_EQ(window_.CurrentWord(), u"words");
  window_.SetList({u"a", u""}, 1);
  EXPECT_FALSE(window_.RemoveLastSpelled());
}

// Pen moves are smoothed: each one goes halfway from the last smoothed point.
TEST_F(CandidateWndTest, DragsStartAndTurnThePageByTheirSmoothedTravel) {
  window_.SetList({u"a", u"b", u"c", u"d", u"e", u""}, 1);
  const HWND w = window_.Handle();
  const auto down = [&](int x, int y) { SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y)); };
  const auto move = [&](int x, int y) { SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, At(x, y)); };
  const auto up = [&](int x, int y) { SendMessageW(w, WM_LBUTTONUP, 0, At(x, y)); };

  // 15 pixels down (smoothed) is not yet a drag, and ends as a tap.
  down(120, 10);
  move(120, 40);  // smoothed 25: 15 pixels
  EXPECT_FALSE(window_.Dragging());
  up(120, 40);
  EXPECT_EQ(owner_.Commands().size(), 1u);
  window_.SetList({u"a", u"b", u"c", u"d", u"e", u""}, 1);

  // 18 pixels down starts a drag but does not turn the page; no commit either.
  owner_.ClearCommands();
  down(120, 10);
  move(120, 46);  // smoothed 28
  EXPECT_TRUE(window_.Dragging());
  up(120, 46);
  EXPECT_FALSE(window_.Dragging());
  EXPECT_EQ(window_.Selected(), 0);
  EXPECT_TRUE(owner_.Commands().empty());

  // More than 40 pixels sideways turns it: the next page starts three further on.
  down(20, 10);
  move(102, 10);  // smoothed 61: 41 pixels
  EXPECT_TRUE(window_.Dragging());
  auto during = Picture();  // the next page under the picture shifted by the drag
  up(102, 10);
  EXPECT_EQ(window_.Selected(), 3);
  EXPECT_TRUE(owner_.Commands().empty());
  // While dragging, the old picture is shifted 41 pixels to the right (its outline at x = 41)
  // over the next page.
  EXPECT_EQ(during->Pixel(41, 2), kBlack);
  EXPECT_EQ(during->Pixel(1, Client().bottom / 2), kBlack);
  EXPECT_EQ(Picture()->Pixel(41, 2), kWhite);

  // From the page of the last entry the next page is the first.
  window_.Select(5);
  EXPECT_EQ(window_.NextIndex(), 0);
  window_.Select(3);
  EXPECT_EQ(window_.NextIndex(), 5);  // at most the last entry
  // Exactly 40 pixels sideways starts no drag.
  down(20, 10);
  move(100, 10);  // smoothed 60: 40 pixels
  EXPECT_FALSE(window_.Dragging());
  up(20, 10);
}

}  // namespace
}  // namespace tessaline
