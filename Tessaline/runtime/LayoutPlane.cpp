#include "runtime/LayoutPlane.h"

#include <cstdlib>

namespace tessaline {
namespace {

constexpr LayoutPlace kPlaces[5] = {
    {"main", 0, 0, 4, 1, 2, 3},
    {"symbols", 0, -1, 4, kLayoutNone, 2, kLayoutBack},
    {"qwerty", 1, 0, 0, 1, kLayoutNone, 3},
    {"words", 0, 1, 4, kLayoutBack, 2, kLayoutNone},
    {"userpad", -1, 0, kLayoutNone, 1, 0, 3},
};

}  // namespace

const LayoutPlace& LayoutPlaceOf(int index) { return kPlaces[index >= 0 && index < 5 ? index : 0]; }

int LayoutNeighbour(int index, Swipe swipe) {
  const LayoutPlace& place = LayoutPlaceOf(index);
  switch (swipe) {
    case Swipe::kRight:
      return place.right;
    case Swipe::kDown:
      return place.down;
    case Swipe::kLeft:
      return place.left;
    case Swipe::kUp:
      return place.up;
    default:
      return kLayoutNone;
  }
}

Swipe ClassifySwipe(int downX, int downY, int upX, int upY, int width, int height) {
  const double dx = std::abs(static_cast<double>(upX) - downX);
  const double dy = std::abs(static_cast<double>(upY) - downY);
  const bool far = (height > 0 && dy / height > 0.6) || (width > 0 && dx / width > 0.65);
  if (!far) return Swipe::kNone;
  const double r = (dy + 1) / (dx + 1);
  if (r > 3) return upY < downY ? Swipe::kUp : Swipe::kDown;
  if (1 / r > 3) return upX < downX ? Swipe::kLeft : Swipe::kRight;
  return Swipe::kNone;
}

}  // namespace tessaline
