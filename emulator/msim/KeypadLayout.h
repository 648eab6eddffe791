// Where the keys of the system keyboard lie: four rows over the keypad's width.
#pragma once

#include <windows.h>

#include <vector>

namespace tessaline::msim {

enum class KeyKind { kLetter, kShift, kBackspace, kSpace, kEnter };

struct KeypadKey {
  RECT rect;
  KeyKind kind;
  wchar_t letter;  // lower case, for kLetter (also ',' and '.')
};

// The keys of a keypad `width` wide whose rows are `rowHeight` high.
std::vector<KeypadKey> KeypadKeys(int width, int rowHeight);

// The key under the point, or nullptr.
const KeypadKey* KeyAt(const std::vector<KeypadKey>& keys, POINT point);

}  // namespace tessaline::msim
