// The options pages' work on the largest inputs they can meet: the Buttons setting full of
// entries (8191 of them) read into rows and written back, and the import of a 10 MB line: of
// letters, which the 512-word limit ends early, and of digits the language cannot spell, which
// is read to its end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/Language.h"
#include "options/UserButtons.h"
#include "options/WordImport.h"

namespace {

void BM_ParseFullButtonsSetting(benchmark::State& state) {
  const tessaline::WideString text(8191, u'\x01');
  for (auto _ : state) {
    const auto rows = tessaline::ParseUserButtons(text);
    benchmark::DoNotOptimize(tessaline::UserButtonsText(rows, 8191));
  }
}
BENCHMARK(BM_ParseFullButtonsSetting)->Unit(benchmark::kMicrosecond);

void BM_ImportTenMegabyteLine(benchmark::State& state) {
  const bool letters = state.range(0) != 0;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "tessaline-bench-import";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "Mini.chr")
      << "charset=0,0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68\n"
         "charset=1,0x69,0x6A,0x6B,0x6C,0x6D,0x6E,0x6F,0x70\n"
         "charset=2,0x71,0x72,0x73,0x74,0x75,0x76,0x77,0x78\ncharset=3,0x79,0x7A\n"
         "chararray=2,0,1,2\n";
  std::ofstream(folder / "Mini.voc");
  std::string line;
  uint32_t seed = 1;
  while (line.size() < (10u << 20)) {
    seed = seed * 1103515245 + 12345;
    line += static_cast<char>((letters ? 'a' : '0') + (seed >> 16) % (letters ? 26 : 10));
  }
  std::ofstream(folder / "words.txt", std::ios::binary) << line << "\n";
  for (auto _ : state) {
    tessaline::Language language((folder / "Mini.chr").string(), u"Mini", false, true, 20, 4);
    FILE* file = std::fopen((folder / "words.txt").string().c_str(), "rb");
    benchmark::DoNotOptimize(tessaline::ImportUserWords(language, {}, file).words.size());
    std::fclose(file);
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ImportTenMegabyteLine)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
