#include "evaluation/Composition.h"

#include <algorithm>
#include <iterator>

namespace tessaline::evaluation {
namespace {

struct Composition {
  char16_t base;
  char16_t mark;
  char16_t letter;
};

constexpr Composition kCompositions[] = {
#include "evaluation/Composition.inc"
};

bool IsCombiningMark(char16_t c) { return c >= 0x0300 && c <= 0x036F; }

// The letter that base and mark make, or 0.
char16_t Compose(char16_t base, char16_t mark) {
  const auto* end = std::end(kCompositions);
  const auto* row = std::lower_bound(std::begin(kCompositions), end, Composition{base, mark, 0},
                                     [](const Composition& a, const Composition& b) {
                                       return a.base != b.base ? a.base < b.base : a.mark < b.mark;
                                     });
  return row != end && row->base == base && row->mark == mark ? row->letter : 0;
}

}  // namespace

WideString ComposeMarks(WideView text) {
  WideString out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (IsCombiningMark(c) && !out.empty()) {
      if (const char16_t letter = Compose(out.back(), c)) {
        out.back() = letter;
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace tessaline::evaluation
