// tessaline voc build: compiles a word list into a vocabulary file for a language file.
// tessaline voc check: verifies a vocabulary file against its language file.
// tessaline voc aids: writes (or checks) the search-aids file beside a vocabulary file.
//
// What the compiler keeps and how counts become frequencies is written in
// docs/vocabulary-compiler.md; vocbuild/VocCompiler.h states its contract.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Commands.h"
#include "Json.h"
#include "engine/SearchAidsFile.h"
#include "languages/KeyMap.h"
#include "system/DataFiles.h"
#include "vocbuild/VocCheck.h"
#include "vocbuild/VocCompiler.h"
#include "vocbuild/WordList.h"

namespace tessaline::tool {
namespace {

constexpr const char* kBuildUsage =
    "  voc build --chr FILE.chr --words LIST [--extra LIST]... [--forms LIST]... [--max N]\n"
    "            [--lemmas LIST [--lemma-spacing N]] [--kept-families OUT] [--no-family-spread]\n"
    "            [--flat-families] [--no-capitalised-endings] [--no-rare-endings]\n"
    "            [--no-family-preference] [--short-unlisted N] [--short-rare P]\n"
    "            [--short-rare-lemmas N] [--whole-family-counts] [--hiding W] -o FILE.voc\n"
    "                                 compile a word list (\"word<TAB>count\" lines, or one word\n"
    "                                 a line, most common first) into a vocabulary, and write\n"
    "                                 its search aids beside it (FILE.aid); --extra adds\n"
    "                                 the words of a dictionary (one word a line), --forms those "
    "of\n"
    "                                 a dictionary of word families (one family a line, forms\n"
    "                                 separated by spaces), with estimated frequencies;\n"
    "                                 --lemmas ranks the dictionary words of a list (one a line,\n"
    "                                 most common first) that the word list and its families lack\n"
    "                                 after the listed words, N ranks apart (default 1);\n"
    "                                 --kept-families writes the families of the --forms lists of\n"
    "                                 which a word was kept, one a line; --no-family-spread\n"
    "                                 estimates the forms of families without a listed word by\n"
    "                                 their endings alone, --flat-families without weighing a\n"
    "                                 family's forms by their endings, --no-capitalised-endings\n"
    "                                 counting the endings of capitalised dictionary words with\n"
    "                                 the others, --no-rare-endings leaving words whose ending\n"
    "                                 few dictionary words share without an estimate,\n"
    "                                 --no-family-preference taking words into a full vocabulary\n"
    "                                 by their counts and estimates alone (by default the words\n"
    "                                 of a family with a listed word count twice);\n"
    "                                 --short-unlisted leaving out the words of 2 to N letters\n"
    "                                 that the word list lacks, --short-rare the listed words\n"
    "                                 of 2 or 3 letters found fewer than P times per million\n"
    "                                 words of the list (single letters always stay, and a\n"
    "                                 letter key without one gets its letters as words), but\n"
    "                                 for those among the first N ranked lemmas with\n"
    "                                 --short-rare-lemmas;\n"
    "                                 --whole-family-counts\n"
    "                                 estimating a family's forms from its listed words whatever\n"
    "                                 their first letters (by default from those that begin\n"
    "                                 with the same two letters); --hiding leaving out the\n"
    "                                 words that keep longer ones out of the visible candidates\n"
    "                                 when the taps saved by offering those sooner exceed W\n"
    "                                 times the taps of spelling them\n";
constexpr const char* kCheckUsage =
    "  voc check FILE.voc --chr FILE.chr [--json]\n"
    "                                 verify order, stored forms, letters and letter-pair "
    "records\n";

constexpr const char* kAidsUsage =
    "  voc aids FILE.voc [--check]    write the search-aids file FILE.aid for a vocabulary file\n"
    "                                 (what loading it would derive), or check that the one\n"
    "                                 there is made for it and holds exactly that\n";

// Writes beside the target and puts that in its place, so that a failed run leaves the old file
// whole.
bool WriteFileWhole(const std::string& path, const std::string& bytes) {
  return WriteDataFileWhole(path, bytes, path + ".tmp");
}

bool LoadLanguage(const std::string& path, KeyMap& map) {
  std::string probe;
  if (!ReadFileBytes(path, probe)) {
    std::fprintf(stderr, "tessaline: cannot read language file '%s'\n", path.c_str());
    return false;
  }
  map.LoadKeyMap(path);
  if (map.Keys().empty() || map.Charsets().empty()) {
    std::fprintf(stderr, "tessaline: '%s' defines no letters or keys\n", path.c_str());
    return false;
  }
  return true;
}

struct BuildArguments {
  std::string chr, words, output, max, keptFamilies, lemmas, lemmaSpacing, shortUnlisted,
      shortRare, shortRareLemmas, hiding;
  bool noFamilySpread = false, flatFamilies = false, noCapitalisedEndings = false,
       noRareEndings = false, noFamilyPreference = false, wholeFamilyCounts = false;
  std::vector<std::string> extras, forms;
};

int RunVocBuild(const BuildArguments& a) {
  const std::string &chr = a.chr, &words = a.words, &output = a.output, &max = a.max,
                    &keptFamilies = a.keptFamilies, &lemmas = a.lemmas,
                    &lemmaSpacing = a.lemmaSpacing, &shortUnlisted = a.shortUnlisted,
                    &shortRare = a.shortRare, &shortRareLemmas = a.shortRareLemmas,
                    &hiding = a.hiding;
  const std::vector<std::string>&extras = a.extras, &forms = a.forms;
  if (chr.empty() || words.empty() || output.empty()) return Usage(kBuildUsage);
  vocbuild::BuildOptions options;
  options.spreadUnlistedFamilies = !a.noFamilySpread;
  options.endingWeights = !a.flatFamilies;
  options.capitalisedEndings = !a.noCapitalisedEndings;
  options.rareEndingEstimates = !a.noRareEndings;
  if (a.noFamilyPreference) options.listedFamilyWeight = 1.0;
  if (a.wholeFamilyCounts) options.familyPrefixLetters = 0;
  options.lettersForEveryKey = true;
  if (!max.empty() && !PositiveCount("--max", max, options.maxWords)) return 2;
  if (!lemmaSpacing.empty() &&
      !PositiveCount("--lemma-spacing", lemmaSpacing, options.lemmaSpacing))
    return 2;
  if (!shortUnlisted.empty() &&
      !PositiveCount("--short-unlisted", shortUnlisted, options.shortUnlistedLength))
    return 2;
  size_t shortRarePerMillion = 0;
  if (!shortRare.empty() && !PositiveCount("--short-rare", shortRare, shortRarePerMillion))
    return 2;
  options.shortRarePerMillion = static_cast<double>(shortRarePerMillion);
  size_t shortRareLemmaPlaces = 0;
  if (!shortRareLemmas.empty() &&
      !PositiveCount("--short-rare-lemmas", shortRareLemmas, shortRareLemmaPlaces))
    return 2;
  options.shortRareLemmaPlaces = shortRareLemmaPlaces;
  size_t hidingWeight = 0;
  if (!hiding.empty() && !PositiveCount("--hiding", hiding, hidingWeight)) return 2;
  options.hidingWeight = static_cast<double>(hidingWeight);
  KeyMap map;
  if (!LoadLanguage(chr, map)) return 1;
  std::string bytes;
  if (!ReadFileBytes(words, bytes)) {
    std::fprintf(stderr, "tessaline: cannot read word list '%s'\n", words.c_str());
    return 1;
  }
  const vocbuild::WordList list = vocbuild::ReadWordList(bytes);
  std::vector<vocbuild::WordList> extraLists;
  for (const std::string& extra : extras) {
    if (!ReadFileBytes(extra, bytes)) {
      std::fprintf(stderr, "tessaline: cannot read word list '%s'\n", extra.c_str());
      return 1;
    }
    extraLists.push_back(vocbuild::ReadWordList(bytes));
  }
  for (const vocbuild::WordList& extra : extraLists) options.extraLists.push_back(&extra);
  std::vector<vocbuild::FamilyList> formLists;
  for (const std::string& form : forms) {
    if (!ReadFileBytes(form, bytes)) {
      std::fprintf(stderr, "tessaline: cannot read word list '%s'\n", form.c_str());
      return 1;
    }
    formLists.push_back(vocbuild::ReadFamilyList(bytes));
  }
  for (const vocbuild::FamilyList& form : formLists) options.formLists.push_back(&form);
  vocbuild::WordList lemmaList;
  if (!lemmas.empty()) {
    if (!ReadFileBytes(lemmas, bytes)) {
      std::fprintf(stderr, "tessaline: cannot read word list '%s'\n", lemmas.c_str());
      return 1;
    }
    lemmaList = vocbuild::ReadWordList(bytes);
    options.rankedLemmas = &lemmaList;
  }

  vocbuild::BuildReport report;
  const vocbuild::CompiledVocabulary vocabulary =
      vocbuild::CompileVocabulary(map, list, options, report);
  if (vocabulary.entries.empty()) {
    std::fprintf(stderr, "tessaline: no word of '%s' can be typed with '%s'\n", words.c_str(),
                 chr.c_str());
    return 1;
  }
  const std::string fileBytes = vocbuild::VocabularyFileBytes(vocabulary);
  const std::string aidsPath = SearchAidsPath(output);
  if (!WriteFileWhole(output, fileBytes) ||
      !WriteFileWhole(aidsPath, SearchAidsFile::Write(fileBytes))) {
    std::fprintf(stderr, "tessaline: cannot write '%s' and '%s'\n", output.c_str(),
                 aidsPath.c_str());
    return 1;
  }
  if (!keptFamilies.empty()) {
    std::string text;
    for (size_t l = 0; l < formLists.size(); ++l) {
      for (size_t f : report.keptFamilies[l]) {
        const std::vector<WideString>& family = formLists[l].families[f];
        for (size_t i = 0; i < family.size(); ++i) text += (i ? " " : "") + WideToUtf8(family[i]);
        text += "\n";
      }
    }
    if (!WriteFileWhole(keptFamilies, text)) {
      std::fprintf(stderr, "tessaline: cannot write '%s'\n", keptFamilies.c_str());
      return 1;
    }
  }
  std::printf("%s: %zu words, %zu pool bytes, %zu letter-pair records\n", output.c_str(),
              vocabulary.entries.size(), report.poolBytes, vocabulary.pairs.size());
  std::printf(
      "  listed %zu (%s list) and %zu ranked lemmas, %zu parts after apostrophes and hyphens;\n"
      "  merged %zu; %zu letters added as words for keys that had none;\n"
      "  dropped: %zu not typable, %zu over 31 letters, %zu malformed lines, %zu over --max, "
      "%zu beyond the pool's reach, %zu abbreviations, %zu unknown and rare, %zu unlisted and "
      "short, %zu short and rare, %zu hiding longer words;\n"
      "  %zu only from dictionaries (%zu estimated from their family, %zu from a family\n"
      "  without a listed word, %zu from their ending)\n",
      report.listedWords, list.counted ? "counted" : "ranked", report.rankedLemmas, report.parts,
      report.merged, report.keyLetters, report.unencodable, report.tooLong, list.malformedLines,
      report.cutByLimit, report.cutByPool, report.abbreviations, report.rareUnknown,
      report.shortUnlisted, report.shortRare, report.hidingWords, report.extraWords,
      report.familyEstimates, report.unlistedFamilyEstimates, report.endingEstimates);
  if (!report.unencodableSamples.empty()) {
    std::printf("  not typable, for example:");
    for (const std::string& sample : report.unencodableSamples)
      std::printf(" %s", Printable(sample).c_str());
    std::printf("\n");
  }
  return 0;
}

struct CheckArguments {
  std::vector<std::string> file{""};
  std::string chr;
  bool json = false;
};

int RunVocCheck(const CheckArguments& options) {
  const bool json = options.json;
  const std::string& chr = options.chr;
  const std::vector<std::string>& args = options.file;
  if (chr.empty()) return Usage(kCheckUsage);
  KeyMap map;
  if (!LoadLanguage(chr, map)) return 1;
  std::string bytes;
  if (!ReadFileBytes(args[0], bytes)) {
    std::fprintf(stderr, "tessaline: cannot read '%s'\n", args[0].c_str());
    return 1;
  }
  const vocbuild::CheckResult result = vocbuild::CheckVocabularyBytes(bytes, map);
  if (json) {
    Json report;
    report["passed"] = result.Passed();
    report["entries"] = result.entryCount;
    report["poolBytes"] = result.poolBytes;
    report["pairRecords"] = result.pairCount;
    report["longestWord"] = result.longestWord;
    report["frequencies"] = Json::array();
    for (uint32_t n : result.frequencyHistogram) report["frequencies"].push_back(n);
    report["problemCount"] = result.problemCount;
    report["problems"] = Json::array();
    for (const std::string& problem : result.problems) report["problems"].push_back(problem);
    std::printf("%s\n", JsonText(report).c_str());
  } else {
    std::printf(
        "%s: %zu entries, %zu pool bytes, %zu letter-pair records, longest word %zu letters\n",
        args[0].c_str(), result.entryCount, result.poolBytes, result.pairCount, result.longestWord);
    std::printf("  frequencies 0-15 .. 112-127:");
    for (uint32_t n : result.frequencyHistogram) std::printf(" %u", n);
    std::printf("\n");
    for (const std::string& problem : result.problems)
      std::printf("  problem: %s\n", Printable(problem).c_str());
    if (result.problemCount > result.problems.size())
      std::printf("  ... %zu problems in all\n", result.problemCount);
    std::printf("%s\n", result.Passed() ? "passed" : "FAILED");
  }
  return result.Passed() ? 0 : 1;
}

struct AidsArguments {
  std::string file;
  bool check = false;
};

int RunVocAids(const AidsArguments& options) {
  std::string bytes;
  if (!ReadFileBytes(options.file, bytes)) {
    std::fprintf(stderr, "tessaline: cannot read '%s'\n", options.file.c_str());
    return 1;
  }
  const std::string path = SearchAidsPath(options.file);
  if (options.check) {
    std::string aids;
    if (!ReadFileBytes(path, aids)) {
      std::printf("%s: missing\n", path.c_str());
      return 1;
    }
    const std::string why = SearchAidsFile::Check(aids, bytes);
    std::printf("%s: %s\n", path.c_str(), why.empty() ? "made for this vocabulary file" : why.c_str());
    return why.empty() ? 0 : 1;
  }
  const std::string aids = SearchAidsFile::Write(bytes);
  if (!WriteFileWhole(path, aids)) {
    std::fprintf(stderr, "tessaline: cannot write '%s'\n", path.c_str());
    return 1;
  }
  std::printf("%s: %zu bytes\n", path.c_str(), aids.size());
  return 0;
}

CommandRun DefineVocAids(CLI::App& app) {
  auto options = std::make_shared<AidsArguments>();
  app.add_option("FILE.voc", options->file, "the vocabulary file")->required();
  app.add_flag("--check", options->check);
  return [options] { return RunVocAids(*options); };
}

CommandRun DefineVocBuild(CLI::App& app) {
  auto a = std::make_shared<BuildArguments>();
  app.add_option("--chr", a->chr, "the language file")->required();
  app.add_option("--words", a->words, "the word list")->required();
  app.add_option("-o", a->output, "the vocabulary file to write")->required();
  AddRepeatedOption(app, "--extra", a->extras);
  AddRepeatedOption(app, "--forms", a->forms);
  app.add_option("--max", a->max);
  app.add_option("--lemmas", a->lemmas);
  app.add_option("--lemma-spacing", a->lemmaSpacing);
  app.add_option("--kept-families", a->keptFamilies);
  app.add_option("--short-unlisted", a->shortUnlisted);
  app.add_option("--short-rare", a->shortRare);
  app.add_option("--short-rare-lemmas", a->shortRareLemmas);
  app.add_option("--hiding", a->hiding);
  app.add_flag("--no-family-spread", a->noFamilySpread);
  app.add_flag("--flat-families", a->flatFamilies);
  app.add_flag("--no-capitalised-endings", a->noCapitalisedEndings);
  app.add_flag("--no-rare-endings", a->noRareEndings);
  app.add_flag("--no-family-preference", a->noFamilyPreference);
  app.add_flag("--whole-family-counts", a->wholeFamilyCounts);
  return [a] { return RunVocBuild(*a); };
}

CommandRun DefineVocCheck(CLI::App& app) {
  auto options = std::make_shared<CheckArguments>();
  app.add_option("FILE.voc", options->file[0], "the vocabulary file")->required();
  app.add_option("--chr", options->chr, "its language file")->required();
  app.add_flag("--json", options->json);
  return [options] { return RunVocCheck(*options); };
}

const Command kVocBuild("voc", "build", DefineVocBuild, kBuildUsage);
const Command kVocCheck("voc", "check", DefineVocCheck, kCheckUsage);
const Command kVocAids("voc", "aids", DefineVocAids, kAidsUsage);

}  // namespace
}  // namespace tessaline::tool
