#include "options/UserButtons.h"

namespace tessaline {

std::vector<UserButton> ParseUserButtons(WideView text) {
  std::vector<UserButton> rows;
  WideView rest = text;
  while (!rest.empty()) {
    const size_t end = rest.find(kButtonEntryEnd);
    const WideView entry = rest.substr(0, end);
    rest = end == WideView::npos ? WideView() : rest.substr(end + 1);
    const size_t split = entry.find(kButtonCaptionEnd);
    if (split == WideView::npos) {
      rows.push_back({WideString(entry), WideString(entry)});
    } else {
      rows.push_back({WideString(entry.substr(0, split)), WideString(entry.substr(split + 1))});
    }
  }
  return rows;
}

WideString UserButtonsText(const std::vector<UserButton>& rows, size_t maxUnits) {
  WideString text;
  for (const UserButton& row : rows) {
    if (text.size() >= maxUnits) break;
    text += row.caption;
    text += kButtonCaptionEnd;
    text += row.sequence;
    text += kButtonEntryEnd;
  }
  if (text.size() > maxUnits) text.resize(maxUnits);
  return text;
}

}  // namespace tessaline
