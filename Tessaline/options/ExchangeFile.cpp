#include "options/ExchangeFile.h"

#include "system/DataFiles.h"
#include "system/LetterCase.h"
#include "system/WideText.h"

namespace tessaline {
namespace {

constexpr size_t kNameCharacters = 3;
constexpr size_t kReadBlockBytes = 64 * 1024;

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }

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

std::string EncodeExchangeWord(WideView word) { return WideToUtf8KeepingSurrogates(word); }

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
  if (DecodeUtf8Strictly(bytes, text, true)) return text;
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
