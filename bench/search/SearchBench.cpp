// The search cost of one key press, typing a text word by word against the English vocabulary:
// the word search of the input method, and the same lookups in two peers.
//
//   bench_search                  Google Benchmark: whole-text typing per engine
//   bench_search --report         per key press: median and worst time, memory, ratios
//   bench_search --count ENGINE   under callgrind: one stats dump per distinct key prefix
//                                 (see count-instructions.sh)
// Options: --chr FILE, --text FILE, --words N (limit the text).
#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "Peers.h"
#include "TypingWorkload.h"
#include "engine/WordSearch.h"

namespace tessaline::bench {
namespace {

struct Options {
  std::string chr = DefaultChrPath();
  std::string text = DefaultTextPath();
  size_t words = 0;
};

Options& GetOptions() {
  static Options options;
  return options;
}

Workload& SharedWorkload() {
  static Workload w = LoadWorkload(GetOptions().chr, GetOptions().text, GetOptions().words);
  return w;
}

size_t TessalineMemory(const Language& language) { return language.Words().MemoryBytes(); }

// Each engine types a word from its first key: the state of the search is a function of the
// keys typed since the word began.
template <typename Press>
void TypeText(const Workload& w, Press press) {
  for (const TypedWord& word : w.words) {
    for (size_t n = 1; n <= word.keys.size(); ++n) press(word, n);
  }
}

struct EngineRun {
  const char* name;
  std::function<void(const TypedWord&, size_t)> press;
  std::function<std::vector<std::string>()> results;  // candidates after the last press
  size_t memory;
};

// The word search and its two peers, ready to type the shared workload.
struct Engines {
  Workload& workload = SharedWorkload();
  WordSearch search;
  SqlitePeer sqlite{workload.records};
  MarisaPeer marisa{workload.records};
  std::vector<std::string> sqliteOut, marisaOut;
  std::vector<EngineRun> runs;

  Engines() {
    const Language& lang = *workload.language;
    search.SetLanguage(&lang);
    runs = {
        {"tessaline",
         [this](const TypedWord& word, size_t n) {
           if (n == 1) search.Reset();
           search.PressKey(word.keys[n - 1]);
         },
         [this, &lang] {
           std::vector<std::string> out;
           if (search.State() == WordSearch::kMatching) {
             for (const LetterCodes& c : search.Candidates()) {
               out.push_back(WideToUtf8(lang.DecodeToText(c)));
             }
           }
           return out;
         },
         TessalineMemory(lang)},
        {"sqlite", [this](const TypedWord& word, size_t n) { sqlite.Lookup(word.keys, n, sqliteOut); },
         [this] { return sqliteOut; }, sqlite.MemoryBytes()},
        {"marisa", [this](const TypedWord& word, size_t n) { marisa.Lookup(word.keys, n, marisaOut); },
         [this] { return marisaOut; }, marisa.MemoryBytes()},
    };
  }
  Engines(const Engines&) = delete;

  EngineRun* Find(const std::string& name) {
    for (EngineRun& e : runs) {
      if (name == e.name) return &e;
    }
    return nullptr;
  }
};

int Report() {
  Engines all;
  Workload& w = all.workload;
  WordSearch& search = all.search;
  std::vector<EngineRun>& engines = all.runs;
  std::printf("vocabulary: %zu entries; text: %zu words, %zu key presses\n\n",
              w.language->EntryCount(), w.words.size(), w.keyPresses);

  // Same lookups, same answers: compare the candidates wherever the word search is matching.
  size_t compared = 0, differing = 0;
  TypeText(w, [&](const TypedWord& word, size_t n) {
    for (EngineRun& e : engines) e.press(word, n);
    if (search.State() != WordSearch::kMatching) return;
    ++compared;
    const auto ours = engines[0].results();
    if (ours != engines[1].results() || ours != engines[2].results()) ++differing;
  });

  constexpr int kRounds = 5;
  std::printf("%-10s %12s %12s %12s %12s\n", "engine", "median ns", "worst ns", "mean ns",
              "memory KiB");
  std::vector<double> medians;
  for (EngineRun& e : engines) {
    std::vector<double> best(w.keyPresses, 1e30);
    for (int round = 0; round < kRounds; ++round) {
      size_t i = 0;
      TypeText(w, [&](const TypedWord& word, size_t n) {
        const auto start = std::chrono::steady_clock::now();
        e.press(word, n);
        const auto stop = std::chrono::steady_clock::now();
        best[i] = std::min(best[i], std::chrono::duration<double, std::nano>(stop - start).count());
        ++i;
      });
    }
    std::vector<double> sorted = best;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (double t : sorted) sum += t;
    medians.push_back(sorted[sorted.size() / 2]);
    std::printf("%-10s %12.0f %12.0f %12.0f %12.0f\n", e.name, sorted[sorted.size() / 2],
                sorted.back(), sum / static_cast<double>(sorted.size()),
                static_cast<double>(e.memory) / 1024.0);
  }
  std::printf("\nmedian time ratio: sqlite/tessaline %.1f, marisa/tessaline %.1f\n",
              medians[1] / medians[0], medians[2] / medians[0]);
  std::printf("candidates compared: %zu key presses, %zu differing\n", compared, differing);
  return differing == 0 ? 0 : 1;
}

// Under callgrind (--collect-atstart=no): collects only inside each press and dumps the stats of
// every distinct key prefix once, so that each dump holds the cost of one key press.
int Count(const std::string& engineName) {
  Engines all;
  const Workload& w = all.workload;
  EngineRun* engine = all.Find(engineName);
  if (!engine) {
    std::fprintf(stderr, "unknown engine %s\n", engineName.c_str());
    return 2;
  }
  std::set<std::string> seen;
  size_t dumps = 0;
  for (const TypedWord& word : w.words) {
    bool fresh = false;
    for (size_t n = 1; n <= word.keys.size(); ++n) {
      const std::string prefix(word.keys.begin(), word.keys.begin() + static_cast<ptrdiff_t>(n));
      fresh = fresh || seen.insert(prefix).second;
      if (!fresh) {
        engine->press(word, n);  // a prefix already counted: advance without measuring
        continue;
      }
      CALLGRIND_ZERO_STATS;
      CALLGRIND_TOGGLE_COLLECT;
      engine->press(word, n);
      CALLGRIND_TOGGLE_COLLECT;
      CALLGRIND_DUMP_STATS;
      ++dumps;
    }
  }
  std::fprintf(stderr, "%s: %zu key presses counted\n", engine->name, dumps);
  return 0;
}

void BM_TypeText(benchmark::State& state, const char* engineName) {
  static Engines* all = new Engines;  // built once for the three benchmarks
  const Workload& w = all->workload;
  EngineRun* engine = all->Find(engineName);
  for (auto _ : state) TypeText(w, engine->press);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * w.keyPresses));
  state.counters["ns_per_key"] = benchmark::Counter(
      static_cast<double>(state.iterations() * w.keyPresses),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["memory_KiB"] = static_cast<double>(engine->memory) / 1024.0;
}
BENCHMARK_CAPTURE(BM_TypeText, tessaline, "tessaline")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TypeText, sqlite, "sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TypeText, marisa, "marisa")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaline::bench

int main(int argc, char** argv) {
  using namespace tessaline::bench;
  std::vector<char*> rest{argv[0]};
  std::string mode, engine;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--report") {
      mode = "report";
    } else if (a == "--count" && i + 1 < argc) {
      mode = "count";
      engine = argv[++i];
    } else if (a == "--chr" && i + 1 < argc) {
      GetOptions().chr = argv[++i];
    } else if (a == "--text" && i + 1 < argc) {
      GetOptions().text = argv[++i];
    } else if (a == "--words" && i + 1 < argc) {
      GetOptions().words = std::stoul(argv[++i]);
    } else {
      rest.push_back(argv[i]);
    }
  }
  if (mode == "report") return Report();
  if (mode == "count") return Count(engine);
  int restCount = static_cast<int>(rest.size());
  benchmark::Initialize(&restCount, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
