#include "engine/UserDictionary.h"

#include <cstdint>

#include "engine/UserFileSystem.h"
#include "system/ByteCoding.h"
#include "system/DataFiles.h"

namespace tessaline {
namespace {

// Reads the file's fields in order; every read checks that the bytes are there.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool U8(uint8_t& value) {
    if (bytes_.size() - at_ < 1) return false;
    value = static_cast<uint8_t>(bytes_[at_++]);
    return true;
  }
  bool U16(uint16_t& value) {
    if (bytes_.size() - at_ < 2) return false;
    value = ReadLe16(bytes_, at_);
    at_ += 2;
    return true;
  }
  bool U32(uint32_t& value) {
    if (bytes_.size() - at_ < 4) return false;
    value = ReadLe32(bytes_, at_);
    at_ += 4;
    return true;
  }
  bool Word(WideString& word) {
    uint8_t length = 0;
    if (!U8(length) || bytes_.size() - at_ < 2u * length) return false;
    word.resize(length);
    for (size_t i = 0; i < length; ++i) word[i] = ReadLe16(bytes_, at_ + 2 * i);
    at_ += 2u * length;
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

void PutWord(std::string& out, const WideString& word) {
  out += static_cast<char>(word.size());
  for (char16_t unit : word) AppendLe16(out, unit);
}

bool Storable(const WideString& word) { return word.size() <= kMaxUserWordUnits; }

}  // namespace

bool UserDictionary::LoadUserDictionary(const std::string& path) {
  words_.clear();
  adaptations_.clear();
  decayDay_ = 0;
  lastLoad_ = UserDictionaryLoadReport();
  std::string bytes;
  if (ReadWholeDataFile(path, bytes) != DataFileRead::kRead) return false;
  LoadBytes(bytes);
  return true;
}

UserDictionaryLoadReport UserDictionary::LoadBytes(std::string_view bytes) {
  words_.clear();
  adaptations_.clear();
  decayDay_ = 0;
  UserDictionaryLoadReport report;
  report.opened = true;
  Reader in(bytes);
  // Each word record takes at least one byte, so the loops below end with the file whatever
  // its counts say; nothing is reserved from a count.
  bool whole = in.U32(report.declaredWords);
  for (uint32_t i = 0; whole && i < report.declaredWords; ++i) {
    WideString word;
    whole = in.Word(word);
    if (whole) words_.push_back(std::move(word));
  }
  whole = whole && in.U32(report.declaredRecords);
  for (uint32_t i = 0; whole && i < report.declaredRecords; ++i) {
    WideString word;
    uint32_t entry = 0;
    uint16_t count = 0;
    AdaptationRecord record;
    whole = in.Word(word) && in.U32(entry) && in.U16(count) && in.U16(record.base);
    if (!whole) break;
    record.entry = static_cast<int32_t>(entry);
    record.count = static_cast<int16_t>(count);
    if (!adaptations_.emplace(std::move(word), record).second) ++report.duplicateRecords;
  }
  uint32_t day = 0;
  whole = whole && in.U32(day);
  if (whole) decayDay_ = day;
  report.truncated = !whole;
  report.trailingBytes = whole && !in.AtEnd();
  report.words = words_.size();
  report.records = adaptations_.size();
  lastLoad_ = report;
  return report;
}

std::string UserDictionary::FileBytes() const {
  std::string out;
  uint32_t storable = 0;
  for (const WideString& word : words_) storable += Storable(word) ? 1 : 0;
  AppendLe32(out, storable);
  for (const WideString& word : words_) {
    if (Storable(word)) PutWord(out, word);
  }
  storable = 0;
  for (const auto& [word, record] : adaptations_) storable += Storable(word) ? 1 : 0;
  AppendLe32(out, storable);
  for (const auto& [word, record] : adaptations_) {
    if (!Storable(word)) continue;
    PutWord(out, word);
    AppendLe32(out, static_cast<uint32_t>(record.entry));
    AppendLe16(out, static_cast<uint16_t>(record.count));
    AppendLe16(out, record.base);
  }
  AppendLe32(out, decayDay_);
  return out;
}

bool UserDictionary::SaveUserDictionary(const std::string& path) const {
  return WriteUserFileBytes(path, FileBytes());
}

}  // namespace tessaline
