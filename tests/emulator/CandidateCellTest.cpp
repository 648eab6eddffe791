// The typist taps candidates where the real candidate window draws them, and types the symbols
// the real pop-up has: its own copies of both must not drift from the window's.
#include <gtest/gtest.h>

#include "evaluation/TapModel.h"
#include "keypad/ButtonEvents.h"
#include "runtime/CandidateWnd.h"
#include "runtime/SymbolPopupWnd.h"
#include "typist/Typist.h"

namespace tessaline::emulator {
namespace {

TEST(TypistAndWindow, CandidateCellsAreTheWindowsCells) {
  for (const int width : {240, 239, 320, 97}) {
    for (int k = 1; k <= 3; ++k) {
      for (int j = 0; j < k; ++j) {
        const RECT typist = CandidateCell(width, 30, k, j);
        const RECT window = CandidateCellRect(width, 30, k, CandidateSlot(k, j));
        EXPECT_TRUE(EqualRect(&typist, &window)) << "width " << width << ", " << j << " of " << k;
      }
    }
  }
}

TEST(TypistAndWindow, PopupSymbolsAreThePopupsOwn) {
  EXPECT_EQ(WideView(evaluation::kPopupSymbols), keypad::PopupSymbols());
}

}  // namespace
}  // namespace tessaline::emulator
