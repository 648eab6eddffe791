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

// Appends the UTF-8 form of one code point (a surrogate too, in its own three-byte form).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace tessaline
