// The search-aids file beside a vocabulary file (English.aid beside English.voc): the search aids
// that loading the vocabulary derives (engine/Vocabulary.h), written once by the compiler so that
// a load maps them and uses them in place instead of deriving them from every entry.
//
// The file is a cache of the vocabulary file. It names the exact bytes it was made for (their size
// and a 64-bit hash), its own bytes after the header carry a second hash, and its structure is
// checked so that every later read stays inside its arrays. A file that is missing, made for other
// bytes (stale), cut short, damaged or malformed is let go without a word and the aids are derived
// as without it: the candidates are the same either way. The layout is in docs/file-formats.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaline {

class Vocabulary;

// The search-aids file's extension, in place of the vocabulary file's.
inline constexpr char kSearchAidsExtension[] = ".aid";

// The search-aids file beside a vocabulary file: its path with the extension replaced (or added).
std::string SearchAidsPath(const std::string& vocabularyPath);

// A 64-bit hash of the bytes: four lanes of 8-byte words, 32 bytes a step.
uint64_t HashBytes(std::string_view bytes);

class SearchAidsFile {
 public:
  static constexpr uint32_t kMagic = 0x44494154;  // "TAID" read little-endian
  static constexpr uint32_t kVersion = 1;
  static constexpr size_t kHeaderSize = 168;

  // The search-aids file for a vocabulary file's bytes: the aids a load of them derives.
  static std::string Write(std::string_view vocabularyBytes);
  // Checks the aids file against the vocabulary file's bytes, which `vocabulary` has just adopted
  // (its entries checked, no aids derived yet). When it holds, the vocabulary's aids point into
  // `aids` (which must outlive them) and the result is true; otherwise nothing changes.
  static bool Read(Vocabulary& vocabulary, std::string_view aids, std::string_view vocabularyBytes);
  // Why a load would let the aids file go ("" when it would use it): for the tools. Also compares
  // every array with what the load derives.
  static std::string Check(std::string_view aids, std::string_view vocabularyBytes);
};

}  // namespace tessaline
