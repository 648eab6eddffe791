// Everything the prediction engine knows about one language: the key map from the language file
// (.chr), the vocabulary from the file of the same name with the extension .voc, the user
// dictionary from .usr, and the adaptation settings FreqMax and FreqInc.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/KeySearch.h"
#include "engine/UserDictionary.h"
#include "engine/Lexicon.h"
#include "languages/KeyMap.h"
#include "system/DataFiles.h"

namespace tessaline {

// The path with the text from its last "." replaced by the extension (".voc", ".usr"); a path
// without any "." is returned unchanged.
std::string SiblingFilePath(const std::string& chrPath, const char* extension);

class Language {
 public:
  // Builds the object and loads its files: the key map, the vocabulary (a vocabulary that does
  // not open shows "Can not load '%s' vocabulary" and leaves the vocabulary and the user
  // dictionary empty), and, when asked, the user dictionary as its file holds it with this
  // process's edits that are not written yet (engine/UserDictionaryFile.h), whose words are
  // inserted into the vocabulary and whose adaptation records are applied when adaptiveVoc is
  // set. A user dictionary that exists but cannot be read is noted to be told of once
  // (TellUserFileFailures); its words are missing from the object, and nothing is written over
  // the file.
  Language(const std::string& chrPath, const WideString& name, bool withUserDictionary,
           bool adaptiveVoc, int32_t freqMax, int32_t freqInc);
  virtual ~Language();
  Language(const Language&) = delete;
  Language& operator=(const Language&) = delete;

  // Vocabulary.
  size_t EntryCount() const { return vocabulary_.EntryCount(); }
  struct LengthAndFrequency {
    int length = 0;
    int frequency = 0;
  };
  // Both 0 for an index out of range.
  LengthAndFrequency EntryLengthAndFrequency(size_t index) const;
  // The entry's word as terminated letter codes in a buffer of kDecodeBufferSize bytes; the
  // empty word for an index out of range. Returns the word's length.
  size_t DecodeEntry(size_t index, uint8_t* buffer) const {
    return vocabulary_.DecodeEntry(index, buffer);
  }
  LetterCodes DecodeEntry(size_t index) const { return vocabulary_.DecodeEntry(index); }
  size_t PairCount() const { return vocabulary_.PairCount(); }
  LetterPairRecord GetPair(size_t index) const { return vocabulary_.GetPair(index); }
  int64_t FindPair(uint16_t key) const { return vocabulary_.FindPair(key); }
  WideString DecodeToText(std::string_view codes) const { return keyMap_.Decode(codes); }

  // The key map's queries.
  bool Encode(WideView text, LetterCodes& codes) const { return keyMap_.Encode(text, codes); }
  const KeyEntry* FindKey(int key) const { return keyMap_.FindKey(key); }
  int KeyLetterCount(int key) const { return keyMap_.KeyLetterCount(key); }
  int LetterIndexOnKey(int key, char16_t ch) const { return keyMap_.LetterIndexOnKey(key, ch); }
  char16_t NextLetterOnKey(int key, char16_t ch) const { return keyMap_.NextLetterOnKey(key, ch); }
  bool KeyHasPunctuation(int key) const { return keyMap_.KeyHasPunctuation(key); }
  WideString KeyCaption(int key) const { return keyMap_.KeyCaption(key); }

  // The user dictionary and learning.
  //
  // Nothing here writes the object's copy of the user dictionary to its file: each change is
  // also kept as an edit of the file, and StoreUserDictionary merges the edits into what the file
  // holds then, so that the words and records other writers put there stay. A language whose key
  // map has no letters or keys, or whose vocabulary did not load whole, makes no edits: it never
  // changes the user's file.
  //
  // A word of the user: false when it is in the list already, cannot be encoded, is empty or
  // longer than the user dictionary file can hold (255 code units), or is in the vocabulary;
  // otherwise it is inserted into the vocabulary with frequency 1 (unless a vocabulary limit
  // refuses it), appended to the list and kept as an edit. Nothing is saved here.
  bool AddUserWord(const WideString& word);
  // One commit of a word: raises its usage count (a vocabulary word seen for the first time gets
  // a record), writes its adapted frequency into the vocabulary and saves the user dictionary.
  // False when the word was not learned (not encodable, or outside the vocabulary without a
  // record); nothing is saved then.
  bool LearnWord(const WideString& word);
  // Writes the record's adapted frequency into the vocabulary, finding the word's entry again
  // when the cached one is stale.
  void ApplyAdaptation(const WideString& word, AdaptationRecord& record);
  void ApplyAllAdaptations();
  // Once per day of the year (UTC): every count drops by one; a record reaching 0 is removed
  // and its word returns to its base frequency. Saves the user dictionary.
  void DailyDecay();
  // Writes the edits not written yet (this language's and any other writer's of this process)
  // into the .usr file as it is now. A language whose user dictionary was never read (made
  // without one, or whose vocabulary did not open), that makes no edits (above), or whose .usr
  // path would be the language file's own (a path without any ".") writes nothing: the result is
  // then false. A write that fails keeps the edits for the next try and tells the user once; the
  // result is false. When the file had been changed by another writer since this object read
  // it, the object is out of date: FileChangedElsewhere says so until RefreshFromFiles.
  bool StoreUserDictionary();
  // The user dictionary file is not the one this object reflects: another writer changed it
  // (its size, write time or identity differ from the ones this object read or wrote last).
  // Costs one look at the file's stamp.
  bool FileChangedElsewhere() const;
  // Reads the language's files again when FileChangedElsewhere, in place (a pointer to the
  // object stays good, but a search running over its vocabulary must start again). True when
  // it did.
  bool RefreshFromFiles();
  // Whether this language may change its user dictionary file at all (see above).
  bool MakesEdits() const { return userDictionaryLoaded_ && writable_; }
  // base + count * 127 / FreqMax, kept to 16 bits (a negative count counts as 0).
  uint16_t AdaptedFrequency(const AdaptationRecord& record) const;

  const KeyMap& Keys() const { return keyMap_; }
  const Lexicon& Words() const { return vocabulary_; }
  // Handing out the vocabulary or the user dictionary to be changed counts as a change.
  Lexicon& Words() {
    changedSinceLoad_ = true;
    return vocabulary_;
  }
  UserDictionary& User() {
    changedSinceLoad_ = true;
    return userDictionary_;
  }
  const UserDictionary& User() const { return userDictionary_; }
  const std::string& FilePath() const { return filePath_; }
  std::string VocabularyPath() const { return SiblingFilePath(filePath_, ".voc"); }
  std::string UserDictionaryPath() const { return SiblingFilePath(filePath_, ".usr"); }
  const WideString& Name() const { return name_; }
  int32_t FreqMax() const { return freqMax_; }
  int32_t FreqInc() const { return freqInc_; }
  bool VocabularyLoaded() const { return vocabularyLoaded_; }
  bool UserDictionaryLoaded() const { return userDictionaryLoaded_; }
  const VocabularyLoadReport& VocabularyReport() const { return vocabularyReport_; }
  // Something changed the vocabulary or the user dictionary in memory after the files were
  // read (a user word, learning, the daily decay), saved or not: the object is no longer what
  // reading the files again would make.
  bool ChangedSinceLoad() const { return changedSinceLoad_; }

 private:
  void LoadFiles();
  void LoadUserWords();
  bool InsertUserWord(const WideString& word);
  UserDictionary userDictionary_;
  KeyMap keyMap_;
  Lexicon vocabulary_{keyMap_};
  std::string filePath_;
  WideString name_;
  int32_t freqMax_;
  int32_t freqInc_;
  bool withUserDictionary_;
  bool adaptiveVoc_;
  bool vocabularyLoaded_ = false;
  bool userDictionaryLoaded_ = false;
  bool changedSinceLoad_ = false;
  bool writable_ = false;
  // The user dictionary file as this object last read or wrote it; false in `memoryWhole_` when
  // it could not be read, so that the object lacks whatever the file holds.
  DataFileStamp memoryStamp_;
  bool memoryWhole_ = true;
  bool stale_ = false;
  // Words of the file that the object left out as empty, repeated or in the vocabulary by now:
  // the first write takes them out of the file too.
  bool tidyWords_ = false;
  std::vector<WideString> knownWords_;
  VocabularyLoadReport vocabularyReport_;
};

}  // namespace tessaline
