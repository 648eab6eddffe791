#include "options/ExchangeFile.h"

#include "system/DataFiles.h"
#include "system/LetterCase.h"
#include "system/WideText.h"

namespace tessaline {
namespace {

constexpr size_t kNameCharacters = 3;
constexpr size_t kReadBlockBytes = 64 * 1024;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Decodes well-formed UTF-8, in which a surrogate's own three-byte form also counts as
// well-formed; false at the first byte that is not.
bool DecodeUtf8Units(std::string_view bytes, WideString& out) {
  out.clear();
  size_t i = 0;
  auto continuation = [&](size_t k) {
    return i + k < bytes.size() && (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
  };
  while (i < bytes.size()) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    char32_t c;
    size_t length;
    if (lead < 0x80) {
      c = lead;
      length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF && continuation(1)) {
      c = (lead & 0x1Fu) << 6 | (bytes[i + 1] & 0x3F);
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF && continuation(1) && continuation(2)) {
      c = (lead & 0x0Fu) << 12 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F);
      if (c < 0x800) return false;  // overlong
      length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4 && continuation(1) && continuation(2) &&
               continuation(3)) {
      c = (lead & 0x07u) << 18 | (bytes[i + 1] & 0x3F) << 12 | (bytes[i + 2] & 0x3F) << 6 |
          (bytes[i + 3] & 0x3F);
      if (c < 0x10000 || c > 0x10FFFF) return false;
      length = 4;
    } else {
      return false;
    }
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += length;
  }
  return true;
}

}  // namespace

WideString ExchangeFilePath(WideView documentsFolder, WideView languageName) {
  size_t take = languageName.size() < kNameCharacters ? languageName.size() : kNameCharacters;
  // A character outside the basic plane is two units; it is not cut in half.
  if (take > 0 && take < languageName.size() && IsHighSurrogate(languageName[take - 1])) ++take;
  WideString path(documentsFolder);
  path += u"\\Tessaline_";
  path += languageName.substr(0, take);
  path += u".txt";
  return path;
}

std::string EncodeExchangeWord(WideView word) {
  std::string out;
  out.reserve(word.size());
  for (size_t i = 0; i < word.size(); ++i) {
    char32_t c = word[i];
    if (IsHighSurrogate(c) && i + 1 < word.size() && IsLowSurrogate(word[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (word[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(out, c);  // a lone surrogate gets its own three-byte form
  }
  return out;
}

std::string ExchangeFileBytes(const std::vector<WideString>& words) {
  std::string bytes;
  for (const WideString& word : words) {
    bytes += EncodeExchangeWord(word);
    bytes += "\r\n";
  }
  return bytes;
}

bool WriteExchangeFile(const std::string& path, const std::vector<WideString>& words) {
  return WriteDataFileWhole(path, ExchangeFileBytes(words), path + ".tmp");
}

WideString DecodeExchangeText(std::string_view bytes) {
  WideString text;
  if (DecodeUtf8Units(bytes, text)) return text;
  return AnsiToWide(bytes);
}

WideString ExchangeWordOfPiece(std::string_view piece) {
  std::string kept;
  kept.reserve(piece.size());
  for (char ch : piece) {
    if (static_cast<unsigned char>(ch) >= 33) kept += ch;
  }
  if (kept.empty()) return WideString();
  return LowerCase(DecodeExchangeText(kept));
}

bool ExchangePieceReader::Fill() {
  if (at_ < block_.size()) return true;
  block_.resize(kReadBlockBytes);
  const size_t got = std::fread(block_.data(), 1, block_.size(), file_);
  block_.resize(got);
  at_ = 0;
  return got > 0;
}

bool ExchangePieceReader::Next(std::string& piece) {
  piece.clear();
  while (piece.size() < kExchangePieceBytes && Fill()) {
    const size_t room = kExchangePieceBytes - piece.size();
    const size_t available = block_.size() - at_;
    const size_t scan = available < room ? available : room;
    // Only the bytes this piece can take are searched, so a long line is scanned once.
    const size_t feed = std::string_view(block_).substr(at_, scan).find('\n');
    if (feed != std::string_view::npos) {
      piece.append(block_, at_, feed + 1);
      at_ += feed + 1;
      break;
    }
    piece.append(block_, at_, scan);
    at_ += scan;
  }
  if (piece.empty()) return false;
  if (lineEnded_) ++line_;
  lineEnded_ = piece.back() == '\n';
  return true;
}

}  // namespace tessaline
