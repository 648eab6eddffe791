#include "engine/ActiveLanguages.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <iterator>
#include <memory>
#include <vector>

#include "languages/InterfaceTexts.h"
#include "system/DataFiles.h"
#include "system/Messages.h"

namespace tessaline {
namespace {

// A language of the list with what it is made from: its file and name, the files as they were
// just before they were read, and the settings passed to its constructor. One not read yet has
// no object: it is read, and its files stamped, when it is first asked for.
struct LoadedLanguage {
  std::unique_ptr<Language> language;
  std::string path;
  WideString name;
  DataFileStamp files[3];  // the language file, the vocabulary, the user dictionary
  bool adaptiveVoc = false;
  int32_t freqMax = 0;
  int32_t freqInc = 0;
};

std::vector<LoadedLanguage>& ActiveList() {
  static std::vector<LoadedLanguage> list;
  return list;
}

void StampFiles(const std::string& path, DataFileStamp (&files)[3]) {
  files[0] = StampOfDataFile(path);
  files[1] = StampOfDataFile(SiblingFilePath(path, ".voc"));
  files[2] = StampOfDataFile(SiblingFilePath(path, ".usr"));
}

// A language of the last list that loading again would make exactly as it is: the same file
// with the same settings, read whole without a message, unchanged in memory since, and none of
// its three files changed on disk (the options pages rewrite the user dictionary).
std::unique_ptr<Language> TakeUnchanged(std::vector<LoadedLanguage>& previous,
                                        const std::string& path, const WideString& name,
                                        const ActiveLanguageChoice& choice,
                                        DataFileStamp (&files)[3]) {
  for (LoadedLanguage& loaded : previous) {
    Language* language = loaded.language.get();
    if (!language || language->FilePath() != path || language->Name() != name) continue;
    if (!language->VocabularyLoaded() || !language->UserDictionaryLoaded() ||
        language->ChangedSinceLoad() || loaded.adaptiveVoc != choice.adaptiveVoc ||
        loaded.freqMax != choice.freqMax || loaded.freqInc != choice.freqInc) {
      return nullptr;
    }
    for (int i = 0; i < 3; ++i) {
      if (!(files[i] == loaded.files[i])) return nullptr;
    }
    return std::move(loaded.language);
  }
  return nullptr;
}

size_t& ReadCount() {
  static size_t count = 0;
  return count;
}

// A language to load: its file opens (a missing language is skipped without a message).
void AddWanted(std::vector<LoadedLanguage>& wanted, const std::string& folder,
               const WideString& name) {
  LoadedLanguage item;
  item.path = LanguageFilePath(folder, name);
  item.name = name;
  FILE* probe = OpenDataFile(item.path, "rb");
  if (!probe) return;
  std::fclose(probe);
  wanted.push_back(std::move(item));
}

void Read(LoadedLanguage& item) {
  // Stamped before reading: a file that changes while it is read counts as changed later.
  StampFiles(item.path, item.files);
  item.language = std::make_unique<Language>(item.path, item.name, true, item.adaptiveVoc,
                                             item.freqMax, item.freqInc);
  ++ReadCount();
}

}  // namespace

void LoadActiveLanguages(const ActiveLanguageChoice& choice) {
  const WideString first = choice.primary.empty() ? WideString(u"English") : choice.primary;
  const WideString& second = choice.secondary;
  const std::string& folder = choice.installFolder;
  std::vector<LoadedLanguage> wanted;
  AddWanted(wanted, folder, first);
  if (!second.empty() && second != first) AddWanted(wanted, folder, second);

  // The languages of the last list that are still exactly what their files make are kept
  // (reading a vocabulary costs tens of milliseconds on the device); the others go before any
  // language is read, so that two copies of a vocabulary never take memory at once.
  std::vector<LoadedLanguage> previous = std::move(ActiveList());
  ActiveList().clear();
  for (LoadedLanguage& item : wanted) {
    item.adaptiveVoc = choice.adaptiveVoc;
    item.freqMax = choice.freqMax;
    item.freqInc = choice.freqInc;
    DataFileStamp files[3];
    StampFiles(item.path, files);
    item.language = TakeUnchanged(previous, item.path, item.name, choice, files);
    if (item.language) std::copy(std::begin(files), std::end(files), std::begin(item.files));
  }
  previous.clear();
  // Only the first language is read now, the one the panel shows first; the second is read when
  // it is first asked for (the language key), which keeps Showing short.
  for (LoadedLanguage& item : wanted) ActiveList().push_back(std::move(item));
  if (choice.readFirst && !ActiveList().empty() && !ActiveList()[0].language) {
    Read(ActiveList()[0]);
  }
  if (ActiveList().empty()) {
    ShowMessage(u"Active languages not found ('" + first + u"', '" + second + u"')", u"",
                kMessageIconError);
  }
}

size_t LanguagesRead() { return ReadCount(); }

void FreeActiveLanguages() { ActiveList().clear(); }

size_t ActiveLanguageCount() { return ActiveList().size(); }

bool ActiveLanguageRead(size_t index) {
  return index < ActiveList().size() && ActiveList()[index].language;
}

std::string ActiveLanguagePath(size_t index) {
  return index < ActiveList().size() ? ActiveList()[index].path : std::string();
}

Language& ActiveLanguage(size_t index) {
  assert(index < ActiveList().size());
  LoadedLanguage& item = ActiveList()[index];
  if (!item.language) Read(item);
  return *item.language;
}

}  // namespace tessaline
