// Random pen events on the real input window with the shipped panels and two languages: taps,
// holds with timer ticks, swipes (some cut short by taps while the view still slides), the
// candidate window, the symbols pop-up, language and mode switches, hiding and showing, and now
// and then a rebuilt window. It must end without a crash, with the user dictionary still loading,
// and with as many GDI objects, device contexts and windows as it started with.
//
// TESSALINE_SOAK_EVENTS sets the number of pen events (default 3000, the short run of the test
// suite); TESSALINE_SOAK_SEED the random seed. A long run is one command:
//   TESSALINE_SOAK_EVENTS=100000 scripts/soak
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>

#include "HandleAccounting.h"
#include "InputHarness.h"
#include "engine/ActiveLanguages.h"
#include "engine/Language.h"
#include "keypad/ButtonEvents.h"
#include "runtime/CandidateWnd.h"
#include "runtime/PressedWnd.h"
#include "runtime/SymbolPopupWnd.h"

namespace tessaline {
namespace {

using testing::CurrentHandleCounts;
using testing::HandleCounts;
using testing::HarnessOptions;
using testing::InputHarness;

long EnvironmentNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return end && *end == '\0' && value > 0 ? value : fallback;
}

std::ostream& operator<<(std::ostream& out, const HandleCounts& c) {
  return out << "GDI objects " << c.gdiObjects << ", memory DCs " << c.memoryDcs << ", window DCs "
             << c.windowDcs << ", windows " << c.windows << " (system: GDI " << c.systemGdi
             << ", USER " << c.systemUser << ")";
}

class Soak {
 public:
  Soak(InputHarness& person, uint32_t seed) : person_(person), random_(seed) {}

  long events = 0;
  long ticks = 0;
  long rebuilds = 0;

  void Step() {
    const int pick = Below(1000);
    if (pick < 430) {
      TapButton();
    } else if (pick < 510) {
      HoldButton();
    } else if (pick < 580) {
      SwipeSomewhere();
    } else if (pick < 660) {
      TouchAnywhere();
    } else if (pick < 760) {
      UseCandidates();
    } else if (pick < 880) {
      UseSymbols();
    } else if (pick < 980) {
      FireTimers();
    } else if (pick < 998) {
      HideAndShow();
    } else if (Below(4) == 0) {
      Rebuild();
    }
  }

 private:
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  CInputWnd& Window() { return person_.Window(); }

  void Send(HWND window, UINT message, POINT at) {
    if (!window || !IsWindow(window)) return;
    SendMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ++events;
  }
  void Tick(HWND window, UINT_PTR id) {
    if (!window || !IsWindow(window)) return;
    SendMessageW(window, WM_TIMER, id, 0);
    ++ticks;
  }

  // A random button of the current layout, never the options (a modal sheet per tap).
  const Button* RandomButton() {
    const auto& buttons = Window().PanelAt(Window().LayoutIndex()).Buttons();
    if (buttons.empty()) return nullptr;
    const Button* button =
        buttons[static_cast<size_t>(Below(static_cast<int>(buttons.size())))].get();
    return button->event0 == keypad::kOptions ? nullptr : button;
  }
  POINT CentreOf(const Button& button) {
    const PixelRect r = Window().PanelAt(Window().LayoutIndex()).ButtonRect(button);
    return POINT{r.left + r.width / 2, r.top + r.height / 2};
  }

  void TapButton() {
    const Button* button = RandomButton();
    if (!button) return;
    const POINT at = CentreOf(*button);
    Send(person_.Handle(), WM_LBUTTONDOWN, at);
    person_.AdvanceClock(40 + Below(200));
    Send(person_.Handle(), WM_LBUTTONUP, at);
  }

  void HoldButton() {
    const Button* button = RandomButton();
    if (!button) return;
    const POINT at = CentreOf(*button);
    Send(person_.Handle(), WM_LBUTTONDOWN, at);
    const int holds = 1 + Below(4);
    for (int i = 0; i < holds; ++i) {
      person_.AdvanceClock(250);
      Tick(person_.Handle(), CInputWnd::kHoldTimer);
    }
    Send(person_.Handle(), WM_LBUTTONUP, at);
  }

  void SwipeSomewhere() {
    RECT r{};
    GetClientRect(person_.Handle(), &r);
    const int w = std::max<int>(r.right, 1), h = std::max<int>(r.bottom, 1);
    POINT from{Below(w), Below(h)}, to = from;
    switch (Below(4)) {
      case 0:
        from.x = 5, to.x = w - 5;
        break;
      case 1:
        from.x = w - 5, to.x = 5;
        break;
      case 2:
        from.y = 2, to.y = h - 2;
        break;
      default:
        from.y = h - 2, to.y = 2;
        break;
    }
    Send(person_.Handle(), WM_LBUTTONDOWN, from);
    Send(person_.Handle(), WM_MOUSEMOVE, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
    person_.AdvanceClock(150);
    Send(person_.Handle(), WM_LBUTTONUP, to);
    // Most slides run to their end (the timer stops there); some are cut short and the next
    // taps land mid-slide.
    const int steps = Below(3) == 0 ? Below(6) : 40;
    for (int i = 0; i < steps && Sliding(); ++i) Tick(person_.Handle(), CInputWnd::kSlideTimer);
  }

  bool Sliding() {
    const LayoutPlace& place = LayoutPlaceOf(Window().LayoutIndex());
    return Window().ViewX() != static_cast<float>(place.gridX) ||
           Window().ViewY() != static_cast<float>(place.gridY);
  }

  void TouchAnywhere() {
    RECT r{};
    GetClientRect(person_.Handle(), &r);
    const POINT at{Below(r.right + 20) - 10, Below(r.bottom + 20) - 10};
    Send(person_.Handle(), WM_LBUTTONDOWN, at);
    if (Below(2)) Send(person_.Handle(), WM_MOUSEMOVE, POINT{at.x + Below(30), at.y});
    person_.AdvanceClock(Below(300));
    Send(person_.Handle(), WM_LBUTTONUP, at);
  }

  void UseCandidates() {
    const CCandidateWnd* candidates = Window().Candidates();
    if (!candidates || !Window().CandidatesShown()) {
      TapButton();
      return;
    }
    RECT r{};
    GetClientRect(candidates->Handle(), &r);
    if (r.right < 1 || r.bottom < 1) return;
    const POINT at{Below(r.right), Below(r.bottom)};
    const HWND window = candidates->Handle();
    Send(window, WM_LBUTTONDOWN, at);
    if (Below(3) == 0) {  // a drag, sideways or down
      const POINT to{at.x + Below(120) - 60, at.y + Below(60) - 30};
      for (int i = 0; i < 4; ++i) Send(window, WM_MOUSEMOVE, to);
      Send(window, WM_LBUTTONUP, to);
    } else {
      Send(window, WM_LBUTTONUP, at);
    }
  }

  void UseSymbols() {
    const CSymbolPopupWnd* popup = Window().SymbolPopup();
    if (!popup || !popup->Visible()) {
      if (Window().PanelAt(Window().LayoutIndex()).FindButton(13)) person_.Tap(13);
      events += 2;
      return;
    }
    const auto& buttons = popup->GetPanel().Buttons();
    const Button& button = *buttons[static_cast<size_t>(Below(static_cast<int>(buttons.size())))];
    if (button.event0 == keypad::kOptions) return;
    const PixelRect r = popup->GetPanel().ButtonRect(button);
    const POINT at{r.left + r.width / 2, r.top + r.height / 2};
    const HWND window = popup->Handle();
    Send(window, WM_LBUTTONDOWN, at);
    Send(window, WM_LBUTTONUP, at);
  }

  void FireTimers() {
    switch (Below(4)) {
      case 0:
        Tick(person_.Handle(), CInputWnd::kMultiTapTimer);
        break;
      case 1:
        if (Window().Candidates()) {
          Tick(Window().Candidates()->Handle(), CCandidateWnd::kSpelledCopyTimer);
        }
        break;
      case 2:
        if (Window().PressedPopup()) {
          Tick(Window().PressedPopup()->Handle(), CPressedWnd::kHideTimer);
        }
        break;
      default:  // a tick of a timer that is not running
        Tick(person_.Handle(), Below(2) ? CInputWnd::kSlideTimer : CInputWnd::kHoldTimer);
        break;
    }
  }

  void HideAndShow() {
    // What the soft input panel does through the input method object: Hiding, then Showing.
    Window().ResetInput();
    if (Window().CandidatesShown()) Window().PlaceCandidates();
  }

  void Rebuild() {
    RECT r{};
    GetClientRect(person_.Handle(), &r);
    Window().Destroy();
    Window().Create(person_.Sip(), RECT{0, 0, 240, r.bottom > 0 ? r.bottom : 120});
    ++rebuilds;
  }

  InputHarness& person_;
  std::mt19937 random_;
};

TEST(SoakTest, RandomPenEventsLeaveNoHandlesBehind) {
  ASSERT_TRUE(testing::InstallHandleAccounting());
  const long size = EnvironmentNumber("TESSALINE_SOAK_EVENTS", 3000);
  const auto seed = static_cast<uint32_t>(EnvironmentNumber("TESSALINE_SOAK_SEED", 20240611));
  // The thread's first window brings windows of the system's own (an input context window under
  // Wine); they are there before the count starts.
  DestroyWindow(
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  const HandleCounts before = CurrentHandleCounts();
  std::vector<WideString> userWords;
  Soak soak = [&] {
    InputHarness person(HarnessOptions::WithGerman());
    const HandleCounts start = CurrentHandleCounts();
    Soak run(person, seed);
    const auto began = std::chrono::steady_clock::now();
    while (run.events < size) run.Step();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    // Back to the first layout and nothing pending, as after a while of use.
    person.Window().ResetInput();
    const HandleCounts end = CurrentHandleCounts();
    std::cout << "soak: " << run.events << " pen events, " << run.ticks << " timer ticks, "
              << run.rebuilds << " rebuilt windows, " << person.Calls().size()
              << " callback calls, " << person.Beeps() << " beeps, seed " << seed << ", " << seconds
              << " s\n"
              << "  at the start: " << start << "\n  at the end:   " << end << "\n";
    EXPECT_EQ(end.gdiObjects, start.gdiObjects);
    EXPECT_EQ(end.memoryDcs, start.memoryDcs);
    EXPECT_EQ(end.windowDcs, start.windowDcs);
    EXPECT_EQ(end.windows, start.windows);
    EXPECT_EQ(end.systemGdi, start.systemGdi);
    EXPECT_EQ(end.systemUser, start.systemUser);
    EXPECT_EQ(person.Callback().badLengths, 0);
    // The user dictionary written along the way loads back with every word the language holds.
    for (size_t i = 0; i < 2; ++i) {
      Language& live = ActiveLanguage(i);
      Language stored(live.FilePath(), live.Name(), true, false, 20, 4);
      EXPECT_TRUE(stored.UserDictionaryLoaded());
      EXPECT_EQ(stored.User().Words(), live.User().Words()) << WideToUtf8(live.Name());
      for (const WideString& word : live.User().Words()) userWords.push_back(word);
    }
    return run;
  }();
  const HandleCounts after = CurrentHandleCounts();
  std::cout << "  before the window: " << before << "\n  after it went:     " << after << "\n"
            << "  user words spelled: " << userWords.size() << "\n";
  EXPECT_EQ(after.gdiObjects, before.gdiObjects);
  EXPECT_EQ(after.memoryDcs, before.memoryDcs);
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_GE(soak.events, size);
}

}  // namespace
}  // namespace tessaline
