#include "KeypadLayout.h"

namespace tessaline::msim {

std::vector<KeypadKey> KeypadKeys(int width, int rowHeight) {
  // Ten columns in the three upper rows; the bottom row is the space bar and Enter.
  static const wchar_t* const kRows[3] = {L"qwertyuiop", L"asdfghjkl\b", L"\x1zxcvbnm,."};
  std::vector<KeypadKey> keys;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 10; ++column) {
      const RECT rect{column * width / 10, row * rowHeight, (column + 1) * width / 10,
                      (row + 1) * rowHeight};
      const wchar_t ch = kRows[row][column];
      const KeyKind kind = ch == L'\b'    ? KeyKind::kBackspace
                           : ch == L'\x1' ? KeyKind::kShift
                                          : KeyKind::kLetter;
      keys.push_back({rect, kind, kind == KeyKind::kLetter ? ch : L'\0'});
    }
  }
  const int spaceRight = width * 7 / 10;
  keys.push_back({RECT{0, 3 * rowHeight, spaceRight, 4 * rowHeight}, KeyKind::kSpace, L' '});
  keys.push_back({RECT{spaceRight, 3 * rowHeight, width, 4 * rowHeight}, KeyKind::kEnter, L'\0'});
  return keys;
}

const KeypadKey* KeyAt(const std::vector<KeypadKey>& keys, POINT point) {
  for (const KeypadKey& key : keys) {
    if (PtInRect(&key.rect, point)) return &key;
  }
  return nullptr;
}

}  // namespace tessaline::msim
