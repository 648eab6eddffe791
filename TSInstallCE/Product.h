// What the setup hooks know of the product they install.
#pragma once

#include "system/ProductIds.h"

namespace tessaline::setup {

// The input method's class, whose key exists while the product is installed.
inline constexpr const wchar_t* kInputMethodClass = tessaline::kInputMethodClassId;
using tessaline::kInputMethodClassKey;

// Every launch entry of the product contains this word (the installation folder does).
inline constexpr char16_t kProductWord[] = u"Tessaline";

// The system keyboard's library, as its class registers it.
inline constexpr wchar_t kSystemKeyboardLibrary[] = L"MSIM.DLL";

}  // namespace tessaline::setup
