// The names by which the system knows the input method: its COM class id and the class names of
// its windows. The product, its registration and settings, the installer and the start-up
// selector, the emulator and the tests all take them from here. (The type library's IDL file
// and the device scripts, which are not C++, write the class id out themselves.)
#pragma once

#include <cstdint>

#if defined(_WIN32)
#include <guiddef.h>
#endif

// The class id in its string form; the literal may be joined to a narrow, wide or UTF-16 one.
#define TESSALINE_CLASS_ID_TEXT "{D29B81CD-2716-464C-AE72-61C143A16307}"

namespace tessaline {

inline constexpr wchar_t kInputMethodClassId[] = L"" TESSALINE_CLASS_ID_TEXT;
// Its key under HKEY_CLASSES_ROOT.
inline constexpr wchar_t kInputMethodClassKey[] = L"CLSID\\" TESSALINE_CLASS_ID_TEXT;
inline constexpr char16_t kInputMethodClassKeyText[] = u"CLSID\\" TESSALINE_CLASS_ID_TEXT;

#if defined(_WIN32)
inline constexpr GUID kInputMethodClsid = {
    0xD29B81CD, 0x2716, 0x464C, {0xAE, 0x72, 0x61, 0xC1, 0x43, 0xA1, 0x63, 0x07}};
#endif

// Window classes of the input method.
inline constexpr wchar_t kInputWindowClass[] = L"TessalineInputWindow";
inline constexpr wchar_t kCandidateWindowClass[] = L"TessalineCandidates";
inline constexpr wchar_t kPressedKeyWindowClass[] = L"TessalinePressedKey";
inline constexpr wchar_t kSymbolsWindowClass[] = L"TessalineSymbols";

}  // namespace tessaline
