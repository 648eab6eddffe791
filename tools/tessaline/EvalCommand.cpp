// tessaline eval: replays a text on the keypad with a shipped (or any) language and reports taps
// per character and how often the wanted word was offered, in word mode (learning off and on)
// and in letter mode. The tap model is evaluation/TapModel.h; the help text below states it.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include "Commands.h"
#include "Json.h"
#include "engine/Language.h"
#include "engine/WordSearch.h"
#include "evaluation/Composition.h"
#include "evaluation/EnginePredictor.h"
#include "evaluation/MissReport.h"
#include "evaluation/TapModel.h"
#include "settings/Settings.h"
#include "vocbuild/WordList.h"

namespace tessaline::tool {
namespace {

namespace fs = std::filesystem;

// clang-format off
constexpr const char* kUsage =
    "  eval --chr FILE.chr --text FILE [--dictionary LIST]... [--causes N] [--json]\n"
    "                                 replay a UTF-8 text on the keypad (the vocabulary beside the\n"
    "                                 .chr; the files are copied, so no .usr is touched) and report\n"
    "                                 taps per character (KSPC) and the share of words offered\n"
    "                                 first or among the visible candidates, for word mode with\n"
    "                                 learning off and on and for letter mode (multi-tap).\n"
    "                                 Tap model (the emulator's typist makes the same taps on the\n"
    "                                 real keypad): a word is a run of letters of keys 2-9. Case\n"
    "                                 key first (cycle lower > capitals > capitalise word > lower;\n"
    "                                 '.' '!' '?' set capitalise by themselves; one tap per step; a\n"
    "                                 word with capitals inside is typed in letter mode: mode key,\n"
    "                                 multi-tap with case toggles, mode key back). Then one tap per\n"
    "                                 letter; as soon as the word is among the 3 visible candidates\n"
    "                                 it is tapped (1 tap, gives the word and a space); if it is\n"
    "                                 first after its last letter and a punctuation-key character\n"
    "                                 follows, that key commits it (no tap). Further down the list:\n"
    "                                 next-candidate taps (3 entries on each), then the tap. Not\n"
    "                                 offered: reach and tap the spelling entry (no tap when the\n"
    "                                 next-candidate key lands on it), multi-tap the letters\n"
    "                                 (position on the key + 1 each), 1 tap to commit.\n"
    "                                 Learning on: LearnWord after every commit, AddUserWord for\n"
    "                                 spelled words. Letter mode: position + 1 taps a letter, one\n"
    "                                 case tap into and out of capitals. Both: space 1 tap (none\n"
    "                                 right after a commit; 1 more when the commit's space was\n"
    "                                 used and a space or punctuation follows), punctuation key\n"
    "                                 position + 1 (replaces a commit's space), line break 1,\n"
    "                                 symbols of the pop-up 2, digits 1 each on the symbols layout\n"
    "                                 (1 swipe there, 1 back); a line break, digit or symbol after\n"
    "                                 a commit needs 1 Backspace more unless it is one of\n"
    "                                 . , ! ? : ; ' ) _; a text ending after a commit 1 Backspace.\n"
    "                                 Other characters cannot be typed (counted as untypable).\n"
    "                                 A letter written with combining marks counts as the one\n"
    "                                 letter they make (\"o\" U+0301 is \"\u00f3\").\n"
    "                                 \"words only\": the words' own taps (letters, candidates,\n"
    "                                 spelling; no case) per letter and one space a word\n"
    "                                 --dictionary (one word or one family of forms a line; an\n"
    "                                 entry written as an abbreviation does not count) adds, for\n"
    "                                 word mode with learning off, the share of the first three\n"
    "                                 candidates over every key press that finds words which no\n"
    "                                 given dictionary holds\n"
    "                                 --causes N lists, for word mode with learning off, the N\n"
    "                                 most frequent words of the text that are not offered after\n"
    "                                 their last key, and the N most frequent ones offered below\n"
    "                                 the visible entries, with the first candidate\n";
// clang-format on

// The words of the dictionaries given with --dictionary, folded to lower case and split at
// apostrophes and hyphens as the vocabulary compiler splits them.
using Dictionary = std::unordered_set<WideString>;

struct CandidateCheck {
  const Dictionary* dictionary = nullptr;
  size_t shown = 0;    // first three candidates while the search finds words
  size_t unknown = 0;  // of them, words no dictionary holds
};

using evaluation::EnginePredictor;

// Counts the shown candidates of a matching search that no dictionary holds. Guessed letters
// (states 3 and 4) are no vocabulary words, so only the candidates of a matching search count.
void CountUnknownCandidates(CandidateCheck& check, const std::vector<WideString>& list, int state) {
  if (!check.dictionary || state != WordSearch::kMatching) return;
  for (size_t i = 0; i < list.size() && i < evaluation::kVisibleCandidates; ++i) {
    ++check.shown;
    check.unknown += check.dictionary->count(list[i]) == 0;
  }
}

bool ReadDictionary(const std::string& path, Dictionary& dictionary) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  for (const std::vector<WideString>& family : vocbuild::ReadFamilyList(bytes).families) {
    for (const WideString& form : family) {
      if (vocbuild::IsAbbreviation(form)) continue;
      for (WideString& part : vocbuild::SplitAtJoiners(vocbuild::FoldCase(form)))
        dictionary.insert(std::move(part));
    }
  }
  return true;
}

// A private copy of the language file and its vocabulary, so that learning writes its .usr there.
class LanguageCopy {
 public:
  bool Make(const std::string& chr) {
    const fs::path source(chr);
    std::error_code error;
    folder_ = fs::temp_directory_path(error) / ("tessaline-eval-" + std::to_string(::getpid()));
    fs::remove_all(folder_, error);
    if (!fs::create_directories(folder_, error)) return false;
    chr_ = (folder_ / source.filename()).string();
    fs::path voc = source;
    voc.replace_extension(".voc");
    return fs::copy_file(source, chr_, error) &&
           fs::copy_file(voc, fs::path(chr_).replace_extension(".voc"), error);
  }
  ~LanguageCopy() {
    std::error_code error;
    if (!folder_.empty()) fs::remove_all(folder_, error);
  }
  const std::string& Chr() const { return chr_; }

 private:
  fs::path folder_;
  std::string chr_;
};

struct Run {
  const char* mode;
  bool learning;
  evaluation::TapCount count;
};

struct EvalOptions {
  bool json = false;
  std::string chr, textPath, causes;
  std::vector<std::string> dictionaries;
};

int RunEval(const EvalOptions& options) {
  const bool json = options.json;
  const std::string& chr = options.chr;
  const std::string& textPath = options.textPath;
  const std::string& causes = options.causes;
  if (chr.empty() || textPath.empty()) return Usage(kUsage);
  Dictionary dictionary;
  CandidateCheck check;
  for (const std::string& path : options.dictionaries) {
    if (!ReadDictionary(path, dictionary)) {
      std::fprintf(stderr, "tessaline: cannot read '%s'\n", path.c_str());
      return 1;
    }
    check.dictionary = &dictionary;
  }
  size_t causeLines = 0;
  if (!causes.empty() && !PositiveCount("--causes", causes, causeLines)) return 2;
  std::string bytes;
  if (!ReadFileBytes(textPath, bytes)) {
    std::fprintf(stderr, "tessaline: cannot read '%s'\n", textPath.c_str());
    return 1;
  }
  const WideString text = evaluation::ComposeMarks(Utf8ToWide(FileTextToUtf8(bytes)));
  LanguageCopy copy;
  if (!copy.Make(chr)) {
    std::fprintf(stderr, "tessaline: cannot copy '%s' and its vocabulary to a temporary folder\n",
                 chr.c_str());
    return 1;
  }
  Settings& settings = GetSettings();
  ResetSettings(settings);  // the defaults: full words, three candidates visible
  const WideString name = Utf8ToWide(LanguageNameOf(chr));

  std::vector<Run> runs;
  evaluation::MissReport misses;
  {
    Language language(copy.Chr(), name, false, false, settings.FreqMax, settings.FreqInc);
    if (!language.VocabularyLoaded() || language.EntryCount() == 0) {
      std::fprintf(stderr, "tessaline: '%s' has no vocabulary\n", chr.c_str());
      return 1;
    }
    EnginePredictor predictor(language);
    predictor.onCandidates = [&check](const std::vector<WideString>& list, int state) {
      CountUnknownCandidates(check, list, state);
    };
    runs.push_back(
        {"word", false, evaluation::ReplayWordMode(text, language.Keys(), predictor, false)});
    if (causeLines > 0) {
      predictor.onCandidates = nullptr;
      misses = evaluation::FindMisses(text, language.Keys(), predictor);
    }
  }
  {
    Language language(copy.Chr(), name, true, true, settings.FreqMax, settings.FreqInc);
    EnginePredictor predictor(language);
    runs.push_back(
        {"word", true, evaluation::ReplayWordMode(text, language.Keys(), predictor, true)});
    runs.push_back({"letter", false, evaluation::ReplayLetterMode(text, language.Keys())});
  }

  auto share = [](size_t part, size_t whole) { return whole ? double(part) / double(whole) : 0.0; };
  if (json) {
    Json report;
    report["language"] = LanguageNameOf(chr);
    report["text"] = textPath;
    report["characters"] = runs[0].count.characters;
    report["words"] = runs[0].count.words;
    report["untypable"] = runs[0].count.untypable;
    if (check.dictionary) {
      report["candidatesChecked"] = check.shown;
      report["candidatesNotInDictionary"] = share(check.unknown, check.shown);
    }
    Json& runList = report["runs"] = Json::array();
    for (const Run& run : runs) {
      Json item;
      item["mode"] = run.mode;
      item["learning"] = run.learning;
      item["taps"] = run.count.taps;
      item["tapsPerCharacter"] = run.count.TapsPerCharacter();
      if (std::string(run.mode) == "word") {
        item["firstCandidate"] = share(run.count.firstCandidate, run.count.words);
        item["visibleCandidate"] = share(run.count.visibleCandidate, run.count.words);
        item["spelled"] = run.count.spelled;
        item["letterModeWords"] = run.count.letterModeWords;
        item["wordTapsPerCharacter"] = run.count.WordTapsPerCharacter();
      }
      runList.push_back(std::move(item));
    }
    std::printf("%s\n", JsonText(report).c_str());
    return 0;
  }
  std::printf("%s on %s: %zu characters, %zu words\n", LanguageNameOf(chr).c_str(),
              textPath.c_str(), runs[0].count.characters, runs[0].count.words);
  if (runs[0].count.untypable > 0) {
    std::printf("  %zu characters cannot be typed (the first at %zu) and are left out\n",
                runs[0].count.untypable, runs[0].count.firstUntypable);
  }
  std::printf("  %-22s %9s %10s %8s %8s %8s %11s\n", "mode", "taps", "taps/char", "first",
              "visible", "spelled", "words only");
  for (const Run& run : runs) {
    const std::string label =
        std::string(run.mode) + (std::string(run.mode) == "word"
                                     ? (run.learning ? ", learning on" : ", learning off")
                                     : " (multi-tap)");
    if (std::string(run.mode) == "word") {
      std::printf("  %-22s %9zu %10.4f %7.1f%% %7.1f%% %8zu %11.4f\n", label.c_str(),
                  run.count.taps, run.count.TapsPerCharacter(),
                  100 * share(run.count.firstCandidate, run.count.words),
                  100 * share(run.count.visibleCandidate, run.count.words), run.count.spelled,
                  run.count.WordTapsPerCharacter());
    } else {
      std::printf("  %-22s %9zu %10.4f\n", label.c_str(), run.count.taps,
                  run.count.TapsPerCharacter());
    }
  }
  if (check.dictionary) {
    std::printf(
        "  first three candidates of word mode (learning off) not in the dictionaries: %zu of %zu "
        "(%.2f%%)\n",
        check.unknown, check.shown, 100 * share(check.unknown, check.shown));
  }
  if (causeLines > 0) {
    std::printf("word mode, learning off, the list after each word's last key:\n%s",
                evaluation::DescribeMisses(misses, causeLines).c_str());
  }
  return 0;
}

CommandRun DefineEval(CLI::App& app) {
  auto options = std::make_shared<EvalOptions>();
  app.add_option("--chr", options->chr, "the language file")->required();
  app.add_option("--text", options->textPath, "the UTF-8 text to replay")->required();
  AddRepeatedOption(app, "--dictionary", options->dictionaries);
  app.add_option("--causes", options->causes, "list the N most frequent misses");
  app.add_flag("--json", options->json);
  return [options] { return RunEval(*options); };
}

const Command kEval("eval", nullptr, DefineEval, kUsage);

}  // namespace
}  // namespace tessaline::tool
