#include "keypad/ButtonEvents.h"

namespace tessaline::keypad {
namespace {

constexpr char16_t kSymbolCharacters[] = u"'\"()@/:_;+&%*=<>[]|$#^";
constexpr int kSymbolCount = 22;

}  // namespace

WideView PopupSymbols() { return WideView(kSymbolCharacters, kSymbolCount); }

char16_t PopupSymbol(int index) {
  return index >= 0 && index < kSymbolCount ? kSymbolCharacters[index] : u'?';
}

}  // namespace tessaline::keypad
