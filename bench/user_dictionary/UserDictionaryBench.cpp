// What keeping the user's words safe costs the input method on a commit: learning a word through
// the merging writer (lock, one look at the file's stamp, the edits applied to the image it kept,
// the new file written, flushed and put in place), against writing the whole copy as a lone
// writer would, and the look at the stamp that tells whether another writer changed the file.
// The user dictionary holds 300 words and 600 records, the shipped English vocabulary beside it.
// Both writes flush to the disk, which is most of their time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/Language.h"
#include "engine/UserDictionaryFile.h"
#include "system/DataFiles.h"

#ifndef TESSALINE_SOURCE_DIR
#error "TESSALINE_SOURCE_DIR names the repository"
#endif

namespace {

struct Folder {
  Folder() {
    path = std::filesystem::temp_directory_path() / "tessaline-bench-usr";
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path / "Languages");
    const std::filesystem::path shipped =
        std::filesystem::path(TESSALINE_SOURCE_DIR) / "data" / "Languages";
    std::filesystem::copy_file(shipped / "English.chr", path / "Languages" / "English.chr");
    std::filesystem::copy_file(shipped / "English.voc", path / "Languages" / "English.voc");
    tessaline::UserDictionary user;
    for (int i = 0; i < 300; ++i) user.AppendWord(u"zq" + Letters(i));
    for (int i = 0; i < 600; ++i) {
      user.Adaptations()[u"w" + Letters(i)] = tessaline::AdaptationRecord{-1, 5, 30};
    }
    user.Adaptations()[u"the"] = tessaline::AdaptationRecord{-1, 5, 30};
    user.SaveUserDictionary((path / "Languages" / "English.usr").string());
    tessaline::SetDeviceRoot(path.string());
  }
  ~Folder() {
    tessaline::SetDeviceRoot("");
    tessaline::ForgetUserDictionaryFiles();
    std::filesystem::remove_all(path);
  }
  static std::u16string Letters(int n) {
    std::u16string text;
    do {
      text += static_cast<char16_t>(u'a' + n % 26);
      n /= 26;
    } while (n > 0);
    return text;
  }
  std::filesystem::path path;
};

constexpr const char* kChr = "\\Languages\\English.chr";

void BM_CommitThroughTheMergingWriter(benchmark::State& state) {
  Folder folder;
  // A FreqMax no count reaches, so that every commit changes the file and is written.
  tessaline::Language language(kChr, u"English", true, true, 30000, 1);
  for (auto _ : state) benchmark::DoNotOptimize(language.LearnWord(u"the"));
}
BENCHMARK(BM_CommitThroughTheMergingWriter)->Unit(benchmark::kMicrosecond);

void BM_WholeCopyWrittenAlone(benchmark::State& state) {
  Folder folder;
  tessaline::Language language(kChr, u"English", true, true, 20, 4);
  const std::string usr = language.UserDictionaryPath();
  for (auto _ : state) benchmark::DoNotOptimize(language.User().SaveUserDictionary(usr));
}
BENCHMARK(BM_WholeCopyWrittenAlone)->Unit(benchmark::kMicrosecond);

void BM_LookAtTheStamp(benchmark::State& state) {
  Folder folder;
  tessaline::Language language(kChr, u"English", true, true, 20, 4);
  for (auto _ : state) benchmark::DoNotOptimize(language.FileChangedElsewhere());
}
BENCHMARK(BM_LookAtTheStamp)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
