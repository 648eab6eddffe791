// Wide (UTF-16) text and the conversions the core needs between it and narrow text.
#pragma once

#include <string>
#include <string_view>

namespace tessaline {

// Text inside the input method is UTF-16, one char16_t per code unit, on both builds.
using WideString = std::u16string;
using WideView = std::u16string_view;

// UTF-8 to UTF-16. Malformed sequences become U+FFFD, one per offending byte.
WideString Utf8ToWide(std::string_view utf8);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(WideView wide);
// The same, but an unpaired surrogate keeps its own three-byte form, so that any UTF-16 text
// comes back unchanged through DecodeUtf8Strictly with surrogates allowed.
std::string WideToUtf8KeepingSurrogates(WideView wide);

#ifdef _WIN32
// Win32's own wide text (wchar_t) is UTF-16 too: the same two conversions for it.
std::string WideToUtf8(std::wstring_view wide);
std::wstring Utf8ToWin32Wide(std::string_view utf8);
#endif

// Narrow text in the system's ANSI code page (Windows-1252 on the native host, CP_ACP under
// Win32) to and from UTF-16. A character the code page lacks becomes '?'.
WideString AnsiToWide(std::string_view ansi);
std::string WideToAnsi(WideView wide);

// Windows-1252 explicitly, whatever the build: used where a file's bytes must read the same on
// every build (the command-line tools).
WideString Cp1252ToWide(std::string_view text);
std::string WideToCp1252(WideView wide);

// ASCII-only case folding, as the Windows C runtime's _strlwr does in the "C" locale.
std::string AsciiLower(std::string_view text);
WideString AsciiLower(WideView text);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// UTF-8 to UTF-16 for text that is either UTF-8 or something else: false at the first malformed
// sequence (what was decoded before it stays in `out`). With surrogatesAllowed, a surrogate's own
// three-byte form (what AppendUtf8 writes for a lone one) is well-formed too.
bool DecodeUtf8Strictly(std::string_view utf8, WideString& out, bool surrogatesAllowed);

// Appends the UTF-8 form of one code point (a surrogate too, in its own three-byte form).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace tessaline
