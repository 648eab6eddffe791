// The runtime's seams to the machine, each replaceable by a test or a host: the pauses between
// deliveries, the default message beep, and the width of the screen the pop-ups centre on.
#pragma once

#include <functional>

namespace tessaline {

// Waits that many milliseconds (Sleep). Key scripts wait 5 ms after each call, a character typed
// after a commit waits 10 ms.
void RuntimePause(unsigned milliseconds);
// Tests record the pauses instead of waiting; an empty function restores Sleep.
void SetPauseHook(std::function<void(unsigned milliseconds)> hook);

// The default message beep (MessageBeep(MB_OK)): a spelled word was learned, a character was
// typed from a button's text.
void DefaultBeep();
// Tests count the beeps instead of sounding them; an empty function restores MessageBeep.
void SetBeepHook(std::function<void()> hook);

// The screen on which the pressed-key and symbols pop-ups of an input window are centred: its
// left edge and width in screen pixels. It is the top-level window that holds the input window,
// the soft input panel, which spans the device's screen; a host that shows the device screen in
// a window of its own gets the pop-ups centred on that. Without a window: the whole screen.
struct PopupScreen {
  int left = 0;
  int width = 0;
};
PopupScreen PopupScreenOf(void* inputWindow);
// Tests give a screen of their own (left edge 0); an empty function restores the above.
void SetPopupScreenWidthSource(std::function<int()> source);

}  // namespace tessaline
