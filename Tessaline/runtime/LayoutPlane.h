// The plane on which the five layouts lie: each has a grid position in units of one panel width
// and height, and a neighbour for each swipe direction. A swipe moves the view to the neighbour
// on the side the finger came from.
#pragma once

namespace tessaline {

// Neighbour entries besides a layout index.
constexpr int kLayoutBack = -1;  // the layout remembered before a move off the middle row
constexpr int kLayoutNone = -2;  // nothing: the swipe is swallowed

enum class Swipe { kNone, kRight, kDown, kLeft, kUp };

struct LayoutPlace {
  const char* name;
  int gridX;
  int gridY;
  int right, down, left, up;  // neighbour for a swipe of the finger in that direction
};

const LayoutPlace& LayoutPlaceOf(int index);
// The neighbour of a layout for a swipe (kLayoutNone for Swipe::kNone).
int LayoutNeighbour(int index, Swipe swipe);

// Classifies a touch from pen-down to pen-up in a client area of width by height: a swipe must
// cross more than 0.6 of the height or 0.65 of the width, and run more than three times as far
// one way as the other.
Swipe ClassifySwipe(int downX, int downY, int upX, int upY, int width, int height);

}  // namespace tessaline
