// What the setup hooks know of the product they install.
#pragma once

namespace tessaline::setup {

// The input method's class, whose key exists while the product is installed.
inline constexpr wchar_t kInputMethodClass[] = L"{D29B81CD-2716-464C-AE72-61C143A16307}";
inline constexpr wchar_t kInputMethodClassKey[] = L"CLSID\\{D29B81CD-2716-464C-AE72-61C143A16307}";

// Every launch entry of the product contains this word (the installation folder does).
inline constexpr char16_t kProductWord[] = u"Tessaline";

// The system keyboard's library, as its class registers it.
inline constexpr wchar_t kSystemKeyboardLibrary[] = L"MSIM.DLL";

}  // namespace tessaline::setup
