// Accented letters written as a base letter and a combining mark ("o" U+0301) made into the one
// letter the keypad types ("ó"), as a person reading the text would type it.
#pragma once

#include "system/WideText.h"

namespace tessaline::evaluation {

// Every base letter followed by combining marks (U+0300 to U+036F) that compose with it, one
// after the other, becomes the composed letter. A mark that composes with nothing before it is
// kept as it stands (the replay counts it as a character that cannot be typed).
WideString ComposeMarks(WideView text);

}  // namespace tessaline::evaluation
