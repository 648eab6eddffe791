#include "engine/ActiveLanguages.h"

#include <cassert>
#include <cstdio>
#include <memory>
#include <vector>

#include "languages/InterfaceTexts.h"
#include "system/DataFiles.h"
#include "system/Messages.h"

namespace tessaline {
namespace {

// A loaded language with what it was made from: the files as they were just before they were
// read, and the settings passed to its constructor.
struct LoadedLanguage {
  std::unique_ptr<Language> language;
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
struct Wanted {
  std::string path;
  WideString name;
  LoadedLanguage loaded;
};

void AddWanted(std::vector<Wanted>& wanted, const std::string& folder, const WideString& name) {
  Wanted item{LanguageFilePath(folder, name), name, {}};
  FILE* probe = OpenDataFile(item.path, "rb");
  if (!probe) return;
  std::fclose(probe);
  wanted.push_back(std::move(item));
}

}  // namespace

void LoadActiveLanguages(const ActiveLanguageChoice& choice) {
  const WideString first = choice.primary.empty() ? WideString(u"English") : choice.primary;
  const WideString& second = choice.secondary;
  const std::string& folder = choice.installFolder;
  std::vector<Wanted> wanted;
  AddWanted(wanted, folder, first);
  if (!second.empty() && second != first) AddWanted(wanted, folder, second);

  // The languages of the last list that are still exactly what their files make are kept
  // (reading a vocabulary costs tens of milliseconds on the device); the others go before any
  // language is read, so that two copies of a vocabulary never take memory at once.
  std::vector<LoadedLanguage> previous = std::move(ActiveList());
  ActiveList().clear();
  for (Wanted& item : wanted) {
    // Stamped before reading: a file that changes while it is read counts as changed later.
    StampFiles(item.path, item.loaded.files);
    item.loaded.adaptiveVoc = choice.adaptiveVoc;
    item.loaded.freqMax = choice.freqMax;
    item.loaded.freqInc = choice.freqInc;
    item.loaded.language = TakeUnchanged(previous, item.path, item.name, choice, item.loaded.files);
  }
  previous.clear();
  for (Wanted& item : wanted) {
    if (!item.loaded.language) {
      item.loaded.language = std::make_unique<Language>(
          item.path, item.name, true, choice.adaptiveVoc, choice.freqMax, choice.freqInc);
      ++ReadCount();
    }
    ActiveList().push_back(std::move(item.loaded));
  }
  if (ActiveList().empty()) {
    ShowMessage(u"Active languages not found ('" + first + u"', '" + second + u"')", u"",
                kMessageIconError);
  }
}

size_t LanguagesRead() { return ReadCount(); }

void FreeActiveLanguages() { ActiveList().clear(); }

size_t ActiveLanguageCount() { return ActiveList().size(); }

Language& ActiveLanguage(size_t index) {
  assert(index < ActiveList().size());
  return *ActiveList()[index].language;
}

}  // namespace tessaline
