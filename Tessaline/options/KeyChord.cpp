#include "options/KeyChord.h"

#include "keyscript/KeyScript.h"

namespace tessaline {
namespace {

void AppendToken(WideString& sequence, const char16_t* name, const char16_t* suffix) {
  if (!sequence.empty()) sequence += u'+';
  sequence += name;
  sequence += suffix;
}

}  // namespace

void KeyChord::AddKey(size_t row) {
  if (row >= kKeyNameCount) return;
  const int key = static_cast<int>(row);
  if (!IsModifierRow(row)) {
    mainKey_ = key;
    return;
  }
  modifiers_[0] = modifiers_[1];
  modifiers_[1] = modifiers_[2];
  for (int& slot : modifiers_) {
    if (slot == key) slot = kNone;
  }
  modifiers_[2] = key;
}

void KeyChord::Clear() {
  modifiers_.fill(kNone);
  mainKey_ = kNone;
}

WideString KeyChord::DisplayText() const {
  const auto table = KeyNameTable();
  WideString text;
  for (int slot : modifiers_) {
    if (slot == kNone) continue;
    text += table[slot].displayName;
    text += u'+';
  }
  if (mainKey_ != kNone) text += table[mainKey_].displayName;
  return text;
}

WideString KeyChord::Sequence() const {
  const auto table = KeyNameTable();
  WideString sequence;
  for (int slot : modifiers_) {
    if (slot != kNone) AppendToken(sequence, table[slot].scriptName, u"d");
  }
  if (mainKey_ != kNone) AppendToken(sequence, table[mainKey_].scriptName, u"");
  for (auto slot = modifiers_.rbegin(); slot != modifiers_.rend(); ++slot) {
    if (*slot != kNone) AppendToken(sequence, table[*slot].scriptName, u"u");
  }
  return sequence;
}

}  // namespace tessaline
