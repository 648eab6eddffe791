#include "engine/Language.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "system/Clock.h"
#include "system/DataFiles.h"
#include "system/Messages.h"

namespace tessaline {
namespace {

constexpr int32_t kMaxCount = 32767;  // the record's count is 16-bit

}  // namespace

std::string SiblingFilePath(const std::string& chrPath, const char* extension) {
  const size_t dot = chrPath.rfind('.');
  if (dot == std::string::npos) return chrPath;
  return chrPath.substr(0, dot) + extension;
}

Language::Language(const std::string& chrPath, const WideString& name, bool withUserDictionary,
                   bool adaptiveVoc, int32_t freqMax, int32_t freqInc)
    : filePath_(chrPath),
      name_(name),
      freqMax_(std::max<int32_t>(freqMax, 1)),
      freqInc_(std::max<int32_t>(freqInc, 1)) {
  keyMap_.LoadKeyMap(filePath_);

  const std::string vocabularyPath = VocabularyPath();
  FILE* file = OpenDataFile(vocabularyPath, "rb");
  if (!file) {
    const std::string text = "Can not load '" + vocabularyPath + "' vocabulary";
    ShowMessage(AnsiToWide(text), kMessageOk);
    return;
  }
  // With the user's words to insert, the search aids are derived once, after them.
  if (withUserDictionary) vocabulary_.BeginBulkInsert();
  vocabularyReport_ = vocabulary_.LoadVocabulary(file);
  std::fclose(file);
  vocabularyLoaded_ = true;

  if (!withUserDictionary) return;
  userDictionary_.LoadUserDictionary(UserDictionaryPath());
  userDictionaryLoaded_ = true;
  // The user's words go back into the vocabulary; a word the vocabulary holds by now, a
  // repeated word and a word the key map cannot encode drop out of the list.
  const std::vector<WideString> words = userDictionary_.Words();
  userDictionary_.ClearWords();
  for (const WideString& word : words) AddUserWord(word);
  vocabulary_.EndBulkInsert();
  if (adaptiveVoc) ApplyAllAdaptations();
  changedSinceLoad_ = false;  // what the files hold
}

Language::~Language() = default;

Language::LengthAndFrequency Language::EntryLengthAndFrequency(size_t index) const {
  if (index >= vocabulary_.EntryCount()) return {};
  return {vocabulary_.EntryLength(index), vocabulary_.EntryFrequency(index)};
}

bool Language::AddUserWord(const WideString& word) {
  const std::vector<WideString>& words = userDictionary_.Words();
  if (std::find(words.begin(), words.end(), word) != words.end()) return false;
  if (word.empty() || word.size() > kMaxUserWordUnits) return false;
  LetterCodes codes;
  if (!keyMap_.Encode(word, codes)) return false;
  if (!vocabulary_.InsertIfAbsent(codes, 1)) return false;
  changedSinceLoad_ = true;
  userDictionary_.AppendWord(word);
  return true;
}

uint16_t Language::AdaptedFrequency(const AdaptationRecord& record) const {
  const int32_t count = std::max<int32_t>(record.count, 0);
  return static_cast<uint16_t>(record.base + count * 127 / freqMax_);
}

void Language::ApplyAdaptation(const WideString& word, AdaptationRecord& record) {
  changedSinceLoad_ = true;
  LetterCodes codes;
  if (!keyMap_.Encode(word, codes)) return;
  if (record.entry >= 0 && static_cast<size_t>(record.entry) < vocabulary_.EntryCount()) {
    if (vocabulary_.DecodeEntry(static_cast<size_t>(record.entry)) != codes) record.entry = -1;
  } else {
    record.entry = -1;
  }
  if (record.entry < 0) {
    record.entry = vocabulary_.FindWord(codes);
    if (record.entry < 0) return;
  }
  vocabulary_.SetEntryFrequency(static_cast<size_t>(record.entry), AdaptedFrequency(record));
}

void Language::ApplyAllAdaptations() {
  for (auto& [word, record] : userDictionary_.Adaptations()) ApplyAdaptation(word, record);
}

void Language::LearnWord(const WideString& word) {
  AdaptationMap& records = userDictionary_.Adaptations();
  auto it = records.find(word);
  LetterCodes codes;
  if (!keyMap_.Encode(word, codes)) return;
  if (it == records.end()) {
    const int32_t entry = vocabulary_.FindWord(codes);
    if (entry < 0) return;  // words outside the vocabulary are not learned
    AdaptationRecord record;
    record.entry = entry;
    record.count = 1;
    record.base = vocabulary_.EntryFrequency(static_cast<size_t>(entry));
    it = records.emplace(word, record).first;
  } else {
    int64_t count = static_cast<int64_t>(it->second.count) + freqInc_;
    count = std::min<int64_t>(count, freqMax_);
    it->second.count = static_cast<int16_t>(std::clamp<int64_t>(count, 0, kMaxCount));
  }
  ApplyAdaptation(it->first, it->second);
  StoreUserDictionary();
}

void Language::DailyDecay() {
  const auto today = static_cast<uint32_t>(CurrentUtcDate().dayOfYear);
  if (today == userDictionary_.DecayDay()) return;
  changedSinceLoad_ = true;
  AdaptationMap& records = userDictionary_.Adaptations();
  for (auto it = records.begin(); it != records.end();) {
    AdaptationRecord& record = it->second;
    if (record.count <= 1) {
      record.count = 0;
      ApplyAdaptation(it->first, record);  // back to the base frequency
      it = records.erase(it);
      continue;
    }
    int32_t count = std::min<int32_t>(record.count, freqMax_);
    record.count = static_cast<int16_t>(std::max<int32_t>(count - 1, 0));
    ApplyAdaptation(it->first, record);
    ++it;
  }
  userDictionary_.SetDecayDay(today);
  StoreUserDictionary();
}

bool Language::StoreUserDictionary() {
  if (!userDictionaryLoaded_) return false;
  // A language file named without any "." would give the user dictionary its own path: the
  // language file is never overwritten.
  if (UserDictionaryPath() == filePath_) return false;
  return userDictionary_.SaveUserDictionary(UserDictionaryPath());
}

}  // namespace tessaline
