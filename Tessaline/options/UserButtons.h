// The user buttons as the Buttons page edits them: rows of caption and key sequence, read from
// and written back to the Buttons setting (entries of caption, U+0002, key sequence, U+0001).
#pragma once

#include <cstddef>
#include <vector>

#include "system/WideText.h"

namespace tessaline {

struct UserButton {
  WideString caption;
  WideString sequence;  // key script, such as "VK_CONTROLd+VK_HOME+VK_CONTROLu"
  bool operator==(const UserButton&) const = default;
};

// Add stops at this many rows; a stored text may hold more, and they are all shown.
constexpr size_t kMaxUserButtons = 8;
// The caption of a new row, and of a row whose combination was accepted empty.
constexpr const char16_t* kUnsetButtonCaption = u"<?>";
constexpr char16_t kButtonEntryEnd = u'\x0001';
constexpr char16_t kButtonCaptionEnd = u'\x0002';

// Every entry of the text, in order: the text up to each U+0001 (the last entry needs none)
// is split at its first U+0002 into caption and key sequence; an entry without U+0002 is both
// caption and key sequence. An empty entry (two U+0001 in a row) is a row with nothing in it.
// Linear in the length of the text.
std::vector<UserButton> ParseUserButtons(WideView text);

// The text of the rows: caption, U+0002, key sequence, U+0001 for each, cut to maxUnits.
WideString UserButtonsText(const std::vector<UserButton>& rows, size_t maxUnits);

}  // namespace tessaline
