// Press and release of a panel's buttons. A point in window pixels becomes fractions of the
// panel; hit tests are strict on every edge, so a point on a border between two buttons presses
// neither.
#include "panel/PanelFile.h"

namespace tessaline {
namespace {

bool StrictlyInside(const Button& b, float fx, float fy) {
  return fx > b.x && fy > b.y && fx < b.x + b.w && fy < b.y + b.h;
}

}  // namespace

bool Panel::ToFractions(int px, int py, float& fx, float& fy) const {
  // A panel without a size has no point inside it.
  if (width_ < 1 || height_ < 1) return false;
  fx = static_cast<float>(px - x_) / static_cast<float>(width_);
  fy = static_cast<float>(py - y_) / static_cast<float>(height_);
  return true;
}

int Panel::PenDown(int px, int py) {
  float fx = 0, fy = 0;
  const bool inside = ToFractions(px, py, fx, fy);
  if (inside) lastX_ = fx, lastY_ = fy;
  for (auto& button : buttons_) {
    button->savedState = button->state;
    if (inside && StrictlyInside(*button, fx, fy)) button->state = 1;
  }
  return PressedButtonId();
}

int Panel::PenUp(int px, int py, bool tap) {
  const int noted = PressedButtonId();
  float fx = 0, fy = 0;
  const bool inside = ToFractions(px, py, fx, fy);
  // The release point lies halfway between the last point and the pen-up: a tap that slips just
  // off its button as the pen lifts still counts.
  const float rx = lastX_ + (fx - lastX_) / 2;
  const float ry = lastY_ + (fy - lastY_) / 2;
  if (inside) lastX_ = rx, lastY_ = ry;
  for (auto& button : buttons_) {
    if (!inside || !StrictlyInside(*button, rx, ry)) {
      button->state = button->savedState;
    } else {
      button->clicked = true;
      button->state = button->toggle && button->savedState == 0 ? 2 : 0;
    }
  }
  return tap ? noted : -1;
}

int Panel::PressedButtonIndex() const {
  int found = -1;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i]->state != 1) continue;
    if (found >= 0) return -1;  // more than one: none is "the" pressed button
    found = static_cast<int>(i);
  }
  return found;
}

int Panel::PressedButtonId() const {
  const int index = PressedButtonIndex();
  return index < 0 ? -1 : buttons_[static_cast<size_t>(index)]->id;
}

}  // namespace tessaline
