// Reading a language-file-sized text: the reader runs at every rebuild of the input window.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "textfile/TextFile.h"

namespace {

std::string LanguageLikeText() {
  std::string text = "locale=\"English\"\ncharset=0,0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68\n";
  for (int key = 1; key <= 115; ++key) {
    text += "chararray=" + std::to_string(key) + ",0,1,2,3\nchararraybase=" +
            std::to_string(key) + ",3\n";
  }
  for (int n = 0; n <= 46; ++n) {
    text += "text" + std::to_string(n) + "=\"Interface text number " + std::to_string(n) + "\"\n";
  }
  return text;
}

void BM_ReadLanguageFile(benchmark::State& state) {
  std::string text = LanguageLikeText();
  for (auto _ : state) {
    FILE* stream = fmemopen(text.data(), text.size(), "rb");
    tessaline::TextSection root;
    tessaline::ReadSection(stream, root);
    std::fclose(stream);
    benchmark::DoNotOptimize(root.RecordCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadLanguageFile);

}  // namespace

BENCHMARK_MAIN();
