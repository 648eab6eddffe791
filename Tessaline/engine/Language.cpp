#include "engine/Language.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/SearchAidsFile.h"
#include "engine/UserDictionaryEdits.h"
#include "engine/UserDictionaryFile.h"
#include "system/Clock.h"
#include "system/DataFiles.h"
#include "system/Messages.h"

namespace tessaline {
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
      freqInc_(std::max<int32_t>(freqInc, 1)),
      withUserDictionary_(withUserDictionary),
      adaptiveVoc_(adaptiveVoc) {
  LoadFiles();
}

void Language::LoadFiles() {
  vocabularyLoaded_ = false;
  userDictionaryLoaded_ = false;
  writable_ = false;
  stale_ = false;
  tidyWords_ = false;
  knownWords_.clear();
  userDictionary_ = UserDictionary();
  vocabularyReport_ = VocabularyLoadReport();
  keyMap_.LoadKeyMap(filePath_);

  const std::string vocabularyPath = VocabularyPath();
  std::shared_ptr<const MappedFile> mapping = MapDataFile(vocabularyPath);
  if (!mapping) {
    vocabulary_.Clear();
    const std::string text = "Can not load '" + vocabularyPath + "' vocabulary";
    ShowMessage(AnsiToWide(text), kMessageOk);
    return;
  }
  // With the user's words to insert, their search aids are derived once, after them.
  if (withUserDictionary_) vocabulary_.BeginBulkInsert();
  // The search aids written beside the vocabulary file, when they are there and made for it.
  vocabularyReport_ = vocabulary_.LoadMapped(
      std::move(mapping), MapDataFile(SearchAidsPath(vocabularyPath)));
  vocabularyLoaded_ = true;
  if (!withUserDictionary_) return;
  // A key map without letters or keys, or a vocabulary cut short or damaged, would turn the
  // user's words and records into refusals and wrong bases: such a language never edits them.
  writable_ = !keyMap_.Charsets().empty() && !keyMap_.Keys().empty() &&
              vocabularyReport_.Complete() && UserDictionaryPath() != filePath_;
  LoadUserWords();
  vocabulary_.EndBulkInsert();
  if (adaptiveVoc_) ApplyAllAdaptations();
  userDictionaryLoaded_ = true;
  changedSinceLoad_ = false;  // what the files hold
}

void Language::LoadUserWords() {
  UserDictionaryFile& file = UserDictionaryFileAt(UserDictionaryPath());
  UserDictionary read;
  const UserFileView view = file.Read(read);
  memoryStamp_ = view.stamp;
  memoryWhole_ = view.read != DataFileRead::kUnreadable;
  if (!memoryWhole_) file.NoteFailure(UserFileStatus::kUnreadable);
  // The user's words go back into the vocabulary; a word the vocabulary holds by now, a
  // repeated or empty word and a word the key map cannot encode drop out of the list. The file
  // keeps the words that cannot be encoded (another key map may take them); the others leave it
  // with the next write.
  userDictionary_.Adaptations() = read.Adaptations();
  userDictionary_.SetDecayDay(read.DecayDay());
  std::vector<WideString> kept;
  for (const WideString& word : read.Words()) {
    if (InsertUserWord(word)) {
      kept.push_back(word);
      continue;
    }
    LetterCodes codes;
    if (word.empty() || std::find(kept.begin(), kept.end(), word) != kept.end()) {
      tidyWords_ = true;
    } else if (keyMap_.Encode(word, codes) && vocabulary_.FindWord(codes) >= 0) {
      knownWords_.push_back(word);
      tidyWords_ = true;
    }
  }
}

Language::~Language() = default;

Language::LengthAndFrequency Language::EntryLengthAndFrequency(size_t index) const {
  if (index >= vocabulary_.EntryCount()) return {};
  return {vocabulary_.EntryLength(index), vocabulary_.EntryFrequency(index)};
}

bool Language::InsertUserWord(const WideString& word) {
  const std::vector<WideString>& words = userDictionary_.Words();
  if (std::find(words.begin(), words.end(), word) != words.end()) return false;
  if (word.empty() || word.size() > kMaxUserWordUnits) return false;
  LetterCodes codes;
  if (!keyMap_.Encode(word, codes)) return false;
  if (!vocabulary_.InsertIfAbsent(codes, 1)) return false;
  userDictionary_.AppendWord(word);
  return true;
}

bool Language::AddUserWord(const WideString& word) {
  if (!InsertUserWord(word)) return false;
  changedSinceLoad_ = true;
  if (MakesEdits()) {
    UserDictionaryEdits edit;
    edit.AddWord(word);
    UserDictionaryFileAt(UserDictionaryPath()).Queue(edit);
  }
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

bool Language::LearnWord(const WideString& word) {
  AdaptationMap& records = userDictionary_.Adaptations();
  auto it = records.find(word);
  LetterCodes codes;
  if (!keyMap_.Encode(word, codes)) return false;
  if (it == records.end()) {
    const int32_t entry = vocabulary_.FindWord(codes);
    if (entry < 0) return false;  // words outside the vocabulary are not learned
    AdaptationRecord record;
    record.entry = entry;
    record.count = 1;
    record.base = vocabulary_.EntryFrequency(static_cast<size_t>(entry));
    it = records.emplace(word, record).first;
  } else {
    it->second.count = CountAfterCommit(it->second.count, freqInc_, freqMax_);
  }
  ApplyAdaptation(it->first, it->second);
  if (!MakesEdits()) return true;
  UserDictionaryEdits edit;
  edit.Learn(word, it->second.entry, it->second.base, freqInc_, freqMax_);
  UserDictionaryFileAt(UserDictionaryPath()).Queue(edit);
  StoreUserDictionary();
  return true;
}

void Language::DailyDecay() {
  const auto today = static_cast<uint32_t>(CurrentUtcDate().dayOfYear);
  if (today == userDictionary_.DecayDay()) return;
  changedSinceLoad_ = true;
  AdaptationMap& records = userDictionary_.Adaptations();
  for (auto it = records.begin(); it != records.end();) {
    AdaptationRecord& record = it->second;
    const int32_t count = CountAfterDecay(record.count, freqMax_);
    if (count < 0) {
      record.count = 0;
      ApplyAdaptation(it->first, record);  // back to the base frequency
      it = records.erase(it);
      continue;
    }
    record.count = static_cast<int16_t>(count);
    ApplyAdaptation(it->first, record);
    ++it;
  }
  userDictionary_.SetDecayDay(today);
  if (!MakesEdits()) return;
  // The file's own decay day decides, under the writers' lock: a decay another process ran
  // today is not run twice.
  UserDictionaryEdits edit;
  edit.Decay(today, freqMax_);
  UserDictionaryFileAt(UserDictionaryPath()).Queue(edit);
  StoreUserDictionary();
}

bool Language::StoreUserDictionary() {
  if (!MakesEdits()) return false;
  UserDictionaryFile& file = UserDictionaryFileAt(UserDictionaryPath());
  if (tidyWords_) {
    UserDictionaryEdits tidy;
    tidy.TidyWords(knownWords_);
    file.Queue(tidy);
    tidyWords_ = false;
    knownWords_.clear();
  }
  if (!file.HasPending()) return true;
  const UserFileOutcome outcome = file.CommitPending();
  if (outcome.status != UserFileStatus::kSaved) {
    file.NoteFailure(outcome.status);
    return false;
  }
  // The file held exactly what this object reflects, so now it holds the object with its edits.
  // Otherwise another writer's changes are in the file and not here.
  if (memoryWhole_ && !stale_ && outcome.before == memoryStamp_) {
    memoryStamp_ = outcome.after;
  } else {
    stale_ = true;
  }
  return true;
}

bool Language::FileChangedElsewhere() const {
  if (!userDictionaryLoaded_) return false;
  return stale_ || !(StampOfDataFile(UserDictionaryPath()) == memoryStamp_);
}

bool Language::RefreshFromFiles() {
  if (!FileChangedElsewhere()) return false;
  LoadFiles();
  return true;
}

}  // namespace tessaline
