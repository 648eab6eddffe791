// tessaline predict: types key sequences against a language's vocabulary and prints what the
// word search offers after every key.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "Json.h"
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

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// The first key (in the language file's order) that carries each letter of the word.
bool KeysOfWord(const Language& language, const WideString& word, std::vector<int>& keys) {
  LetterCodes codes;
  if (!language.Encode(word, codes)) return false;
  for (char c : codes) {
    int found = -1;
    for (const KeyEntry& entry : language.Keys().Keys()) {
      for (int i = 0; i < entry.count && found < 0; ++i) {
        if (entry.codes[i] == static_cast<uint8_t>(c)) found = entry.key;
      }
      if (found >= 0) break;
    }
    if (found < 0) return false;
    keys.push_back(found);
  }
  return true;
}

int RunPredict(Args args) {
  bool ok = true;
  const bool json = TakeFlag(args, "--json");
  const bool trunc = TakeFlag(args, "--trunc");
  const std::string chr = TakeOption(args, "--chr", "", ok);
  const bool usr = TakeFlag(args, "--usr");
  const std::string word = TakeOption(args, "--word", "", ok);
  if (!ok || chr.empty() || (word.empty() == args.empty())) return Usage(kUsage);

  Settings& settings = GetSettings();
  settings.TruncWords = trunc;
  Language language(chr, AnsiToWide(NameOf(chr)), usr, settings.AdaptiveVoc, settings.FreqMax,
                    settings.FreqInc);

  std::vector<int> keys;
  if (!word.empty()) {
    if (!KeysOfWord(language, Utf8ToWide(word), keys)) {
      std::fprintf(stderr, "tessaline: '%s' has a letter that no key of %s carries\n",
                   word.c_str(), chr.c_str());
      return 1;
    }
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
  std::vector<WideString> candidates;
  if (json) std::printf("[\n");
  for (size_t i = 0; i < keys.size(); ++i) {
    search.PressKey(static_cast<int8_t>(keys[i]));
    search.GetCandidates(candidates);
    if (json) {
      JsonWriter out;
      out.BeginObject();
      out.Field("key", keys[i]);
      out.Field("state", search.State());
      out.Field("keyCount", search.KeyCount());
      out.Key("candidates");
      out.BeginArray();
      for (const WideString& c : candidates) out.String(WideToUtf8(c));
      out.EndArray();
      out.EndObject();
      std::printf("%s%s\n", out.Text().c_str(), i + 1 < keys.size() ? "," : "");
    } else {
      std::printf("key %d: state %d, keys %d:", keys[i], search.State(), search.KeyCount());
      for (const WideString& c : candidates) std::printf(" %s", WideToUtf8(c).c_str());
      std::printf("\n");
    }
  }
  if (json) std::printf("]\n");
  return 0;
}

const Command kPredict("predict", nullptr, RunPredict, kUsage);

}  // namespace
}  // namespace tessaline::tool
