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

// Width in pixels of the screen on which the pressed-key and symbols pop-ups are centred: the
// device's screen (GetSystemMetrics(SM_CXSCREEN)) unless a test or a host that shows the device
// screen inside a window of its own gives another.
int PopupScreenWidth();
void SetPopupScreenWidthSource(std::function<int()> source);

}  // namespace tessaline
