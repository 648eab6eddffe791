#include "system/WideText.h"

namespace tessaline {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F; the other bytes are their own code points. The five holes of
// the code page map to their own values, as Windows' MultiByteToWideChar does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when malformed. A surrogate's
// own three-byte form is malformed unless allowed.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& out, bool surrogates = false) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  size_t len;
  char32_t c;
  char32_t min;
  if (b0 < 0x80) {
    out = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, c = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, c = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (!surrogates && c >= 0xD800 && c <= 0xDFFF)) return 0;
  out = c;
  return len;
}

void AppendUtf16(WideString& out, char32_t c) {
  if (c >= 0x10000) {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  } else {
    out += static_cast<char16_t>(c);
  }
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD, or is kept in its own three-byte form.
std::string EncodeUtf8(WideView wide, bool keepLoneSurrogates) {
  std::string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF && !keepLoneSurrogates) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

WideString Utf8ToWide(std::string_view utf8) {
  WideString out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t c;
    const size_t len = DecodeUtf8(utf8, i, c);
    if (len == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    AppendUtf16(out, c);
    i += len;
  }
  return out;
}

std::string WideToUtf8(WideView wide) { return EncodeUtf8(wide, false); }

std::string WideToUtf8KeepingSurrogates(WideView wide) { return EncodeUtf8(wide, true); }

#ifdef _WIN32
std::string WideToUtf8(std::wstring_view wide) {
  return WideToUtf8(WideString(wide.begin(), wide.end()));
}

std::wstring Utf8ToWin32Wide(std::string_view utf8) {
  const WideString wide = Utf8ToWide(utf8);
  return std::wstring(wide.begin(), wide.end());
}
#endif

bool DecodeUtf8Strictly(std::string_view utf8, WideString& out, bool surrogatesAllowed) {
  out.clear();
  for (size_t i = 0; i < utf8.size();) {
    char32_t c;
    const size_t len = DecodeUtf8(utf8, i, c, surrogatesAllowed);
    if (len == 0) return false;
    AppendUtf16(out, c);
    i += len;
  }
  return true;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    char32_t c;
    const size_t len = DecodeUtf8(text, i, c);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

WideString Cp1252ToWide(std::string_view text) {
  WideString out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    out += (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
  }
  return out;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return out;
}

WideString AsciiLower(WideView text) {
  WideString out(text);
  for (char16_t& ch : out) {
    if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch - u'A' + u'a');
  }
  return out;
}

// Used by the native build's AnsiToWide/WideToAnsi (system/native/CodePage.cpp).
std::string WideToCp1252(WideView wide) {
  std::string out;
  out.reserve(wide.size());
  for (char16_t c : wide) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kCp1252High[k] == c) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out += mapped;
  }
  return out;
}

}  // namespace tessaline
