#include "engine/UserDictionaryEdits.h"

#include <algorithm>
#include <utility>

namespace tessaline {
namespace {

constexpr int32_t kMaxCount = 32767;  // the record's count is 16-bit

bool Contains(const std::vector<WideString>& words, const WideString& word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

void ApplyOne(const UserDictionaryEdit& edit, UserDictionary& dictionary) {
  using Kind = UserDictionaryEdit::Kind;
  AdaptationMap& records = dictionary.Adaptations();
  switch (edit.kind) {
    case Kind::kAddWord:
      if (!Contains(dictionary.Words(), edit.word)) dictionary.AppendWord(edit.word);
      break;
    case Kind::kRemoveWord: {
      std::vector<WideString> words = dictionary.Words();
      words.erase(std::remove(words.begin(), words.end(), edit.word), words.end());
      dictionary.ClearWords();
      for (WideString& word : words) dictionary.AppendWord(std::move(word));
      break;
    }
    case Kind::kLearn: {
      auto it = records.find(edit.word);
      if (it == records.end()) {
        AdaptationRecord record;
        record.entry = edit.entry;
        record.count = 1;
        record.base = edit.base;
        records.emplace(edit.word, record);
      } else {
        it->second.count = CountAfterCommit(it->second.count, edit.increment, edit.freqMax);
        if (edit.entry >= 0) it->second.entry = edit.entry;
      }
      break;
    }
    case Kind::kRemoveRecord:
      records.erase(edit.word);
      break;
    case Kind::kDecay:
      if (dictionary.DecayDay() == edit.day) break;
      for (auto it = records.begin(); it != records.end();) {
        const int32_t count = CountAfterDecay(it->second.count, edit.freqMax);
        if (count < 0) {
          it = records.erase(it);
        } else {
          it->second.count = static_cast<int16_t>(count);
          ++it;
        }
      }
      dictionary.SetDecayDay(edit.day);
      break;
    case Kind::kOrderWords: {
      std::vector<WideString> ordered;
      for (const WideString& word : edit.words) {
        if (Contains(dictionary.Words(), word) && !Contains(ordered, word)) ordered.push_back(word);
      }
      for (const WideString& word : dictionary.Words()) {
        if (!Contains(edit.words, word)) ordered.push_back(word);
      }
      dictionary.ClearWords();
      for (WideString& word : ordered) dictionary.AppendWord(std::move(word));
      break;
    }
    case Kind::kTidyWords: {
      std::vector<WideString> kept;
      for (const WideString& word : dictionary.Words()) {
        if (word.empty() || Contains(kept, word) || Contains(edit.words, word)) continue;
        kept.push_back(word);
      }
      dictionary.ClearWords();
      for (WideString& word : kept) dictionary.AppendWord(std::move(word));
      break;
    }
  }
}

}  // namespace

int16_t CountAfterCommit(int16_t count, int32_t increment, int32_t freqMax) {
  int64_t next = static_cast<int64_t>(count) + increment;
  next = std::min<int64_t>(next, freqMax);
  return static_cast<int16_t>(std::clamp<int64_t>(next, 0, kMaxCount));
}

int32_t CountAfterDecay(int16_t count, int32_t freqMax) {
  if (count <= 1) return -1;
  return std::max<int32_t>(std::min<int32_t>(count, freqMax) - 1, 0);
}

UserDictionaryEdit& UserDictionaryEdits::Push(UserDictionaryEdit::Kind kind) {
  edits_.emplace_back();
  edits_.back().kind = kind;
  return edits_.back();
}

void UserDictionaryEdits::AddWord(const WideString& word) {
  Push(UserDictionaryEdit::Kind::kAddWord).word = word;
}

void UserDictionaryEdits::RemoveWord(const WideString& word) {
  Push(UserDictionaryEdit::Kind::kRemoveWord).word = word;
}

void UserDictionaryEdits::Learn(const WideString& word, int32_t entry, uint16_t base,
                                int32_t increment, int32_t freqMax) {
  UserDictionaryEdit& edit = Push(UserDictionaryEdit::Kind::kLearn);
  edit.word = word;
  edit.entry = entry;
  edit.base = base;
  edit.increment = increment;
  edit.freqMax = freqMax;
}

void UserDictionaryEdits::RemoveRecord(const WideString& word) {
  Push(UserDictionaryEdit::Kind::kRemoveRecord).word = word;
}

void UserDictionaryEdits::Decay(uint32_t day, int32_t freqMax) {
  UserDictionaryEdit& edit = Push(UserDictionaryEdit::Kind::kDecay);
  edit.day = day;
  edit.freqMax = freqMax;
}

void UserDictionaryEdits::OrderWords(std::vector<WideString> order) {
  Push(UserDictionaryEdit::Kind::kOrderWords).words = std::move(order);
}

void UserDictionaryEdits::TidyWords(std::vector<WideString> knownWords) {
  Push(UserDictionaryEdit::Kind::kTidyWords).words = std::move(knownWords);
}

void UserDictionaryEdits::Append(const UserDictionaryEdits& later) {
  edits_.insert(edits_.end(), later.edits_.begin(), later.edits_.end());
}

void UserDictionaryEdits::ApplyTo(UserDictionary& dictionary) const {
  for (const UserDictionaryEdit& edit : edits_) ApplyOne(edit, dictionary);
}

UserDictionaryEdits WordListEdits(const std::vector<WideString>& shown,
                                  const std::vector<WideString>& listed) {
  UserDictionaryEdits edits;
  for (const WideString& word : shown) {
    if (!Contains(listed, word)) edits.RemoveWord(word);
  }
  for (const WideString& word : listed) {
    if (!Contains(shown, word)) edits.AddWord(word);
  }
  edits.OrderWords(listed);
  return edits;
}

UserDictionaryEdits RecordEdits(const AdaptationMap& shown, const AdaptationMap& kept) {
  UserDictionaryEdits edits;
  for (const auto& [word, record] : shown) {
    if (kept.find(word) == kept.end()) edits.RemoveRecord(word);
  }
  return edits;
}

}  // namespace tessaline
