// The key combination that the Buttons page composes in its redefine mode: up to three modifier
// keys and one main key, each a row of the key name table, and what it becomes: the text shown
// to the user ("Shift+Ctrl+A") and the key sequence stored for the button
// ("VK_SHIFTd+VK_CONTROLd+VK_A+VK_CONTROLu+VK_SHIFTu").
#pragma once

#include <array>
#include <cstddef>

#include "system/WideText.h"

namespace tessaline {

class KeyChord {
 public:
  static constexpr int kNone = -1;
  static constexpr size_t kModifierSlots = 3;

  // Adds a row of the key name table. A modifier goes to the last slot; the slots before it keep
  // the earlier modifiers, the oldest dropping out, and a modifier chosen again moves to the end
  // (so the slots hold the last three different modifiers, most recent last). Any other key
  // becomes the main key, replacing an earlier one. A row outside the table is ignored.
  void AddKey(size_t row);
  // No modifier and no main key.
  void Clear();

  // The display names of the modifiers, each followed by "+", then the main key's.
  WideString DisplayText() const;
  // The modifiers pressed in slot order ("VK_CONTROLd"), the main key, the modifiers released in
  // reverse order ("VK_CONTROLu"), joined by "+"; empty when nothing is chosen.
  WideString Sequence() const;

  const std::array<int, kModifierSlots>& Modifiers() const { return modifiers_; }
  int MainKey() const { return mainKey_; }

 private:
  std::array<int, kModifierSlots> modifiers_{kNone, kNone, kNone};
  int mainKey_ = kNone;
};

}  // namespace tessaline
