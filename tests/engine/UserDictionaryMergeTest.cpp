// Several writers of one user dictionary at once, on a file system kept in memory where the lock
// can be held by someone else and any step of a write can fail: nobody's word or record is lost,
// a removal made on a page wins for what the page showed, a failed write leaves the file whole
// and the edits pending, and the daily decay runs once a day whoever runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/UserDictionary.h"
#include "engine/UserDictionaryEdits.h"
#include "engine/UserDictionaryFile.h"

namespace tessaline {
namespace {

constexpr const char* kPath = "\\Tess\\Languages\\English.usr";

// A file system in memory: files by path with a version that every replacement raises, a lock
// that "another program" may hold, and faults injected at one named step of the next write.
class ModelFiles : public UserFileSystem {
 public:
  struct File {
    std::string bytes;
    uint64_t version = 0;
  };

  DataFileStamp Stamp(const std::string& path) override {
    DataFileStamp stamp;
    const auto it = files.find(path);
    if (unreadable.count(path)) {
      stamp.exists = true;
      return stamp;
    }
    if (it == files.end()) return stamp;
    stamp.exists = true;
    stamp.size = it->second.bytes.size();
    stamp.writeTime = it->second.version;
    stamp.identity = it->second.version;
    return stamp;
  }
  DataFileRead Read(const std::string& path, std::string& bytes) override {
    bytes.clear();
    if (unreadable.count(path) || Fault("read")) return DataFileRead::kUnreadable;
    const auto it = files.find(path);
    if (it == files.end()) return DataFileRead::kMissing;
    bytes = it->second.bytes;
    return DataFileRead::kRead;
  }
  std::string TemporaryPath(const std::string& path) override {
    return path + "." + std::to_string(++temporaryCount) + ".tmp";
  }
  bool WriteTemporary(const std::string& temporary, const std::string& bytes) override {
    if (Fault("create")) return false;
    if (Fault("write")) {
      files[temporary] = File{bytes.substr(0, bytes.size() / 2), ++versions};
      return false;
    }
    files[temporary] = File{bytes, ++versions};
    return !Fault("flush");
  }
  bool Replace(const std::string& temporary, const std::string& path) override {
    const auto it = files.find(temporary);
    if (it == files.end() || Fault("rename")) return false;
    files[path] = File{it->second.bytes, ++versions};
    files.erase(temporary);
    ++replacements;
    return true;
  }
  void Remove(const std::string& temporary) override { files.erase(temporary); }
  std::unique_ptr<FileLock> Lock(const std::string&, unsigned timeout) override {
    EXPECT_EQ(timeout, kUserFileLockWait);
    if (lockBusy) return nullptr;
    EXPECT_FALSE(locked) << "a writer took the lock twice";
    locked = true;
    return std::make_unique<Held>(locked);
  }

  // The step of the next write that fails ("create", "write", "flush", "rename", "read").
  std::string failAt;
  bool lockBusy = false;
  bool locked = false;
  std::set<std::string> unreadable;
  std::map<std::string, File> files;
  uint64_t versions = 0;
  int temporaryCount = 0;
  int replacements = 0;

  std::string Bytes(const std::string& path) const {
    const auto it = files.find(path);
    return it == files.end() ? std::string() : it->second.bytes;
  }
  size_t Temporaries() const {
    return static_cast<size_t>(std::count_if(files.begin(), files.end(), [](const auto& file) {
      return file.first.size() > 4 && file.first.substr(file.first.size() - 4) == ".tmp";
    }));
  }

 private:
  struct Held : FileLock {
    explicit Held(bool& flag) : flag_(flag) {}
    ~Held() override { flag_ = false; }
    bool& flag_;
  };
  bool Fault(const char* step) {
    if (failAt != step) return false;
    failAt.clear();
    return true;
  }
};

class FilesScope {
 public:
  explicit FilesScope(UserFileSystem& files) : previous_(SetUserFileSystem(&files)) {}
  ~FilesScope() { SetUserFileSystem(previous_); }

 private:
  UserFileSystem* previous_;
};

UserDictionary Parse(const std::string& bytes) {
  UserDictionary dictionary;
  dictionary.LoadBytes(bytes);
  return dictionary;
}

std::set<WideString> WordSet(const UserDictionary& dictionary) {
  return {dictionary.Words().begin(), dictionary.Words().end()};
}

// ---------------------------------------------------------------- the rules, one by one

class MergeRulesTest : public ::testing::Test {
 protected:
  MergeRulesTest() : scope(files) {
    UserDictionary start;
    start.AppendWord(u"alpha");
    start.AppendWord(u"beta");
    start.Adaptations()[u"cat"] = AdaptationRecord{0, 5, 40};
    start.Adaptations()[u"dog"] = AdaptationRecord{1, 9, 30};
    start.SetDecayDay(10);
    files.files[kPath] = ModelFiles::File{start.FileBytes(), ++files.versions};
  }
  UserDictionary OnDisk() const { return Parse(files.Bytes(kPath)); }

  ModelFiles files;
  FilesScope scope;
  // Two programs hosting the input method, each with its own view of the file.
  UserDictionaryFile first{kPath};
  UserDictionaryFile second{kPath};
};

TEST_F(MergeRulesTest, APageRemovalWinsForWhatItShowedAndLaterWordsStay) {
  UserDictionary page;
  first.Read(page);  // the page shows alpha and beta
  UserDictionaryEdits spelled;
  spelled.AddWord(u"gamma");  // another program spells a word after the page read the file
  ASSERT_EQ(second.Commit(spelled).status, UserFileStatus::kSaved);
  // The user clears the page's list and saves.
  ASSERT_EQ(first.Commit(WordListEdits(page.Words(), {})).status, UserFileStatus::kSaved);
  EXPECT_EQ(OnDisk().Words(), std::vector<WideString>{u"gamma"});
  // Spelled again afterwards: back.
  UserDictionaryEdits again;
  again.AddWord(u"alpha");
  ASSERT_EQ(second.Commit(again).status, UserFileStatus::kSaved);
  EXPECT_EQ(OnDisk().Words(), (std::vector<WideString>{u"gamma", u"alpha"}));
  // The records were nobody's business here.
  EXPECT_EQ(OnDisk().Adaptations().size(), 2u);
}

TEST_F(MergeRulesTest, ClearedRecordsStayClearedAndALaterCommitStartsAgain) {
  UserDictionary page;
  first.Read(page);
  // Another program counts "cat" once more and learns "owl" after the page read the file.
  UserDictionaryEdits learned;
  learned.Learn(u"cat", 0, 40, 4, 20);
  learned.Learn(u"owl", 3, 12, 4, 20);
  ASSERT_EQ(second.Commit(learned).status, UserFileStatus::kSaved);
  ASSERT_EQ(OnDisk().Adaptations().at(u"cat").count, 9);
  // The Frequency page clears what it showed and saves.
  ASSERT_EQ(first.Commit(RecordEdits(page.Adaptations(), {})).status, UserFileStatus::kSaved);
  const AdaptationMap records = OnDisk().Adaptations();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records.at(u"owl").count, 1);
  // The next commit of "cat" starts a new record.
  UserDictionaryEdits next;
  next.Learn(u"cat", 0, 40, 4, 20);
  ASSERT_EQ(second.Commit(next).status, UserFileStatus::kSaved);
  EXPECT_EQ(OnDisk().Adaptations().at(u"cat").count, 1);
  EXPECT_EQ(OnDisk().Adaptations().at(u"cat").base, 40);
  EXPECT_EQ(OnDisk().Words(), (std::vector<WideString>{u"alpha", u"beta"}));
}

TEST_F(MergeRulesTest, TheDailyDecayRunsOnceADayWhoeverRunsIt) {
  UserDictionaryEdits decay;
  decay.Decay(11, 20);
  ASSERT_EQ(first.Commit(decay).status, UserFileStatus::kSaved);
  EXPECT_EQ(OnDisk().Adaptations().at(u"cat").count, 4);
  const int writes = files.replacements;
  // The other program, loaded before, decays the same day: the file's decay day says it ran.
  ASSERT_EQ(second.Commit(decay).status, UserFileStatus::kSaved);
  EXPECT_EQ(OnDisk().Adaptations().at(u"cat").count, 4);
  EXPECT_EQ(OnDisk().Adaptations().at(u"dog").count, 8);
  EXPECT_EQ(files.replacements, writes);  // nothing to write
  EXPECT_FALSE(second.HasPending());
}

TEST_F(MergeRulesTest, AFailureAtEveryStepLeavesTheFileWholeAndTheEditsPending) {
  for (const char* step : {"create", "write", "flush", "rename", "read", "lock", "unreadable"}) {
    SCOPED_TRACE(step);
    const std::string before = files.Bytes(kPath);
    UserDictionaryEdits edits;
    edits.AddWord(std::u16string(u"w_") + static_cast<char16_t>(step[0]) +
                  static_cast<char16_t>(step[1]));
    edits.Learn(u"cat", 0, 40, 4, 20);
    // A fresh view, so that a read is needed ("read" fails only there).
    UserDictionaryFile writer(kPath);
    const std::string name(step);
    files.lockBusy = name == "lock";
    if (name == "unreadable") files.unreadable.insert(kPath);
    if (name != "lock" && name != "unreadable") files.failAt = name;
    const UserFileOutcome failed = writer.Commit(edits);
    EXPECT_NE(failed.status, UserFileStatus::kSaved);
    EXPECT_EQ(files.Bytes(kPath), before);
    EXPECT_EQ(files.Temporaries(), 0u);
    EXPECT_EQ(writer.Pending().size(), 2u);
    EXPECT_FALSE(files.locked);
    // The next try, with nothing in the way, writes them; reading the file shows them meanwhile.
    files.lockBusy = false;
    files.unreadable.clear();
    files.failAt.clear();
    UserDictionary shown;
    writer.Read(shown);
    EXPECT_EQ(shown.Words().back(), edits.Items()[0].word);
    const int count = Parse(before).Adaptations().at(u"cat").count;
    ASSERT_EQ(writer.CommitPending().status, UserFileStatus::kSaved);
    EXPECT_FALSE(writer.HasPending());
    EXPECT_EQ(OnDisk().Words().back(), edits.Items()[0].word);
    EXPECT_EQ(OnDisk().Adaptations().at(u"cat").count, std::min(count + 4, 20));
  }
  EXPECT_EQ(UserFileStatus::kLockBusy, [&] {
    files.lockBusy = true;
    UserDictionaryEdits edit;
    edit.AddWord(u"x");
    return first.Commit(edit).status;
  }());
}

TEST_F(MergeRulesTest, TheFastPathReadsNothingAndAnotherWriterIsNeverMissed) {
  UserDictionary view;
  first.Read(view);
  UserDictionaryEdits one;
  one.AddWord(u"one");
  ASSERT_EQ(first.Commit(one).status, UserFileStatus::kSaved);
  // Nobody else wrote: the next commit uses what it wrote, even when reading would fail.
  files.failAt = "read";
  UserDictionaryEdits two;
  two.AddWord(u"two");
  ASSERT_EQ(first.Commit(two).status, UserFileStatus::kSaved);
  files.failAt.clear();
  // Another writer replaces the file: the next commit reads it again.
  UserDictionaryEdits three;
  three.AddWord(u"three");
  ASSERT_EQ(second.Commit(three).status, UserFileStatus::kSaved);
  UserDictionaryEdits four;
  four.AddWord(u"four");
  const UserFileOutcome outcome = first.Commit(four);
  ASSERT_EQ(outcome.status, UserFileStatus::kSaved);
  EXPECT_EQ(OnDisk().Words(),
            (std::vector<WideString>{u"alpha", u"beta", u"one", u"two", u"three", u"four"}));
}

// ---------------------------------------------------------------- many schedules

// What the rules say the file holds: every writer's edits, each batch applied when it lands (a
// successful commit lands everything its writer had pending, in order).
struct Model {
  std::set<WideString> words;
  std::map<WideString, int> counts;
  uint32_t day = 0;

  void AddWord(const WideString& word) { words.insert(word); }
  void PageSave(const std::vector<WideString>& shown, const std::vector<WideString>& listed) {
    for (const WideString& word : shown) {
      if (std::find(listed.begin(), listed.end(), word) == listed.end()) words.erase(word);
    }
    for (const WideString& word : listed) words.insert(word);
  }
  void Learn(const WideString& word) {
    const auto it = counts.find(word);
    counts[word] = it == counts.end() ? 1 : std::min(it->second + 4, 20);
  }
  void ClearRecords(const std::set<WideString>& shown) {
    for (const WideString& word : shown) counts.erase(word);
  }
  void Decay(uint32_t today) {
    if (today == day) return;
    for (auto it = counts.begin(); it != counts.end();) {
      if (it->second <= 1) {
        it = counts.erase(it);
      } else {
        it->second = std::min(it->second, 20) - 1;
        ++it;
      }
    }
    day = today;
  }
};

// One writer: a program's view of the file, and the model's edits it has not landed yet.
struct Writer {
  explicit Writer(const char* path) : file(path) {}
  UserDictionaryFile file;
  std::vector<std::function<void(Model&)>> pending;
};

void RunSchedule(uint32_t seed) {
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const std::vector<WideString> vocabulary = {u"ant", u"bee", u"cow", u"doe", u"eel", u"fox",
                                              u"gnu", u"hen", u"ibis", u"jay"};
  ModelFiles files;
  FilesScope scope(files);
  Model model;
  if (pick(2)) {
    UserDictionary start;
    start.AppendWord(u"ant");
    start.Adaptations()[u"bee"] = AdaptationRecord{-1, 3, 10};
    start.SetDecayDay(5);
    files.files[kPath] = ModelFiles::File{start.FileBytes(), ++files.versions};
    model.words = {u"ant"};
    model.counts = {{u"bee", 3}};
    model.day = 5;
  }
  std::vector<std::unique_ptr<Writer>> writers;
  for (int i = 0; i < 3; ++i) writers.push_back(std::make_unique<Writer>(kPath));
  // A page open in the first program: what it showed.
  bool pageOpen = false;
  UserDictionary page;

  for (int step = 0; step < 60; ++step) {
    Writer& writer = *writers[static_cast<size_t>(pick(3))];
    const WideString word = vocabulary[static_cast<size_t>(pick(10))];
    // Trouble for this step's write, now and then.
    files.lockBusy = pick(8) == 0;
    static const char* const kSteps[] = {"create", "write", "flush", "rename", "read"};
    files.failAt = pick(8) == 0 ? kSteps[pick(5)] : "";
    if (pick(15) == 0) {
      files.unreadable.insert(kPath);
    } else {
      files.unreadable.clear();
    }
    const std::string before = files.Bytes(kPath);

    UserDictionaryEdits edits;
    // The pages live in the first program and write through its view of the file.
    Writer* acting = &writer;
    const int action = pick(8);
    switch (action) {
      case 0:
      case 1:
        edits.AddWord(word);
        acting->pending.push_back([word](Model& m) { m.AddWord(word); });
        break;
      case 2:
      case 3: {
        edits.Learn(word, -1, 7, 4, 20);
        acting->pending.push_back([word](Model& m) { m.Learn(word); });
        break;
      }
      case 4: {
        const uint32_t today = static_cast<uint32_t>(5 + pick(3));
        edits.Decay(today, 20);
        acting->pending.push_back([today](Model& m) { m.Decay(today); });
        break;
      }
      case 5:
        // The page (re)reads the file, through the first program's view.
        writers[0]->file.Read(page);
        pageOpen = true;
        continue;
      case 6: {
        if (!pageOpen) continue;
        // The page keeps a random part of what it showed, adds a word, and saves.
        std::vector<WideString> listed;
        for (const WideString& shown : page.Words()) {
          if (pick(2)) listed.push_back(shown);
        }
        if (pick(2)) listed.push_back(word);
        const std::vector<WideString> shown = page.Words();
        acting = writers[0].get();
        acting->pending.push_back([shown, listed](Model& m) { m.PageSave(shown, listed); });
        edits = WordListEdits(shown, listed);
        pageOpen = false;
        break;
      }
      case 7: {
        if (!pageOpen) continue;
        std::set<WideString> shown;
        for (const auto& [name, record] : page.Adaptations()) shown.insert(name);
        acting = writers[0].get();
        acting->pending.push_back([shown](Model& m) { m.ClearRecords(shown); });
        edits = RecordEdits(page.Adaptations(), {});
        pageOpen = false;
        break;
      }
    }
    const UserFileOutcome outcome = acting->file.Commit(edits);
    if (outcome.status == UserFileStatus::kSaved) {
      for (auto& land : acting->pending) land(model);
      acting->pending.clear();
    } else {
      // Nothing of the file changed, and nothing of the edits was dropped.
      EXPECT_EQ(files.Bytes(kPath), before);
      EXPECT_EQ(acting->file.HasPending(), !acting->pending.empty());
    }
    EXPECT_EQ(files.Temporaries(), 0u);
    EXPECT_FALSE(files.locked);
  }
  // Everyone tries once more with nothing in the way: every edit lands.
  files.lockBusy = false;
  files.failAt.clear();
  files.unreadable.clear();
  for (auto& writer : writers) {
    ASSERT_EQ(writer->file.CommitPending().status, UserFileStatus::kSaved);
    for (auto& land : writer->pending) land(model);
    writer->pending.clear();
  }
  const UserDictionary disk = Parse(files.Bytes(kPath));
  EXPECT_EQ(WordSet(disk), model.words);
  EXPECT_EQ(disk.Words().size(), model.words.size()) << "a word is listed twice";
  std::map<WideString, int> counts;
  for (const auto& [name, record] : disk.Adaptations()) counts[name] = record.count;
  EXPECT_EQ(counts, model.counts);
  if (files.files.count(kPath)) {
    EXPECT_EQ(disk.DecayDay(), model.day);
  }
}

TEST(MergeSchedulesTest, HundredsOfSeededSchedulesKeepEveryWritersEdits) {
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    RunSchedule(seed);
    if (::testing::Test::HasFailure()) break;  // the first failing seed is the one to read
  }
}

}  // namespace
}  // namespace tessaline
