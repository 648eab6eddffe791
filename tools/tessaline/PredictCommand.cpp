// tessaline predict: types key sequences against a language's vocabulary and prints what the
// word search offers after every key.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "Json.h"
#include "engine/KeySearch.h"
#include "engine/Language.h"
#include "engine/WordSearch.h"
#include "settings/Settings.h"

namespace tessaline::tool {
namespace {

constexpr const char* kUsage =
    "  predict --chr FILE.chr [--trunc] [--usr] [--json] KEY...\n"
    "  predict --chr FILE.chr [--trunc] [--usr] [--json] --word WORD\n"
    "                                 type keys (a key identifier, or -1 for Backspace), or the\n"
    "                                 keys of a word (first key of each letter), and print the\n"
    "                                 state, the key count and the candidates after each key;\n"
    "                                 the vocabulary beside the .chr is used, and the user\n"
    "                                 dictionary beside it (.usr) only with --usr\n";

struct PredictOptions {
  std::string chr, word;
  std::vector<std::string> keys;
  bool json = false, trunc = false, usr = false;
};

int RunPredict(const PredictOptions& options) {
  const bool json = options.json;
  const bool trunc = options.trunc;
  const std::string& chr = options.chr;
  const bool usr = options.usr;
  const std::string& word = options.word;
  const std::vector<std::string>& args = options.keys;
  if (chr.empty() || (word.empty() == args.empty())) return Usage(kUsage);

  const Settings& settings = GetSettings();
  Language language(chr, AnsiToWide(LanguageNameOf(chr)), usr, settings.AdaptiveVoc, settings.FreqMax,
                    settings.FreqInc);

  std::vector<int> keys;
  if (!word.empty()) {
    LetterCodes codes;
    std::vector<int8_t> wordKeys;
    if (!language.Encode(Utf8ToWide(word), codes) ||
        !KeysOfWord(language.Keys(), codes, wordKeys)) {
      std::fprintf(stderr, "tessaline: '%s' has a letter that no key of %s carries\n",
                   word.c_str(), chr.c_str());
      return 1;
    }
    keys.assign(wordKeys.begin(), wordKeys.end());
  } else {
    for (const std::string& a : args) {
      char* end = nullptr;
      const long key = std::strtol(a.c_str(), &end, 10);
      if (a.empty() || *end != '\0' || key < -128 || key > 127) {
        std::fprintf(stderr, "tessaline: '%s' is not a key identifier (-128 to 127)\n", a.c_str());
        return 2;
      }
      keys.push_back(static_cast<int>(key));
    }
  }

  WordSearch search;
  search.SetLanguage(&language);
  search.SetTruncateWords(trunc);
  std::vector<WideString> candidates;
  if (json) std::printf("[\n");
  for (size_t i = 0; i < keys.size(); ++i) {
    search.PressKey(static_cast<int8_t>(keys[i]));
    search.GetCandidates(candidates);
    if (json) {
      Json out;
      out["key"] = keys[i];
      out["state"] = search.State();
      out["keyCount"] = search.KeyCount();
      out["candidates"] = Json::array();
      for (const WideString& c : candidates) out["candidates"].push_back(WideToUtf8(c));
      std::printf("%s%s\n", JsonText(out).c_str(), i + 1 < keys.size() ? "," : "");
    } else {
      std::printf("key %d: state %d, keys %d:", keys[i], search.State(), search.KeyCount());
      for (const WideString& c : candidates) std::printf(" %s", WideToUtf8(c).c_str());
      std::printf("\n");
    }
  }
  if (json) std::printf("]\n");
  return 0;
}

CommandRun DefinePredict(CLI::App& app) {
  auto options = std::make_shared<PredictOptions>();
  app.add_option("--chr", options->chr, "the language file")->required();
  app.add_option("KEY", options->keys, "key identifiers, -1 for Backspace");
  app.add_option("--word", options->word, "type the keys of this word");
  app.add_flag("--trunc", options->trunc);
  app.add_flag("--usr", options->usr);
  app.add_flag("--json", options->json);
  return [options] { return RunPredict(*options); };
}

const Command kPredict("predict", nullptr, DefinePredict, kUsage);

}  // namespace
}  // namespace tessaline::tool
