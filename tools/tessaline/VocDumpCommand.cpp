// tessaline voc dump FILE.voc --chr FILE.chr [--json]: the entries and letter-pair records of a
// vocabulary file, with words shown through the key map of its language file.
//
// A damaged file is shown as the engine reads it (what could be read), with what the file
// declares beside it, and the exit status is 1.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "Json.h"
#include "engine/Vocabulary.h"
#include "languages/KeyMap.h"

namespace tessaline::tool {
namespace {

constexpr const char* kUsage =
    "  voc dump FILE.voc --chr FILE.chr [--json]\n"
    "                                 the entries and letter-pair records of a vocabulary\n";

std::string Hex(std::string_view bytes) {
  std::string out;
  char buf[4];
  for (char c : bytes) {
    std::snprintf(buf, sizeof buf, "%s%02X", out.empty() ? "" : " ", static_cast<uint8_t>(c));
    out += buf;
  }
  return out;
}

std::string Word(const KeyMap& keys, std::string_view codes) {
  return WideToUtf8(keys.Decode(codes));
}

std::string PairLetters(const LetterPairRecord& pair) {
  return std::string(reinterpret_cast<const char*>(pair.letters), kMaxPairLetters);
}

void WriteJson(const Vocabulary& voc, const VocabularyLoadReport& report) {
  Json json;
  json["entryCount"] = voc.EntryCount();
  json["poolSize"] = voc.PoolSize();
  json["pairCount"] = voc.PairCount();
  json["complete"] = report.Complete();
  Json& file = json["file"];
  file["size"] = report.fileSize;
  file["declaredEntries"] = report.declaredEntries;
  file["declaredPool"] = report.declaredPool;
  file["declaredPairs"] = report.declaredPairs;
  file["truncated"] = report.truncated;
  file["firstBadEntry"] = report.firstBadEntry;
  file["clampedPairCounts"] = report.clampedPairCounts;
  file["trailingBytes"] = report.trailingBytes;
  json["entries"] = Json::array();
  for (size_t i = 0; i < voc.EntryCount(); ++i) {
    const LetterCodes codes = voc.DecodeEntry(i);
    Json item;
    item["index"] = i;
    item["codes"] = Hex(codes);
    item["word"] = Word(voc.Keys(), codes);
    item["frequency"] = static_cast<int>(voc.EntryFrequency(i));
    item["length"] = static_cast<int>(voc.EntryLength(i));
    item["offset"] = voc.Entry(i).offset;
    item["stored"] = Hex(voc.StoredForm(i));
    json["entries"].push_back(std::move(item));
  }
  json["pairs"] = Json::array();
  for (size_t i = 0; i < voc.PairCount(); ++i) {
    const LetterPairRecord pair = voc.GetPair(i);
    Json item;
    item["index"] = i;
    item["key"] = static_cast<int>(pair.key);
    item["letters"] = Hex(PairLetters(pair));
    item["text"] = Word(voc.Keys(), PairLetters(pair).substr(0, static_cast<size_t>(pair.count)));
    item["weights"] = Json::array();
    for (int8_t w : pair.weights) item["weights"].push_back(w);
    item["count"] = static_cast<int>(pair.count);
    json["pairs"].push_back(std::move(item));
  }
  std::printf("%s\n", JsonText(json).c_str());
}

void WriteText(const Vocabulary& voc, const VocabularyLoadReport& report) {
  std::printf("entries: %zu (file declares %u)\n", voc.EntryCount(), report.declaredEntries);
  std::printf("pool: %zu bytes (file declares %u)\n", voc.PoolSize(), report.declaredPool);
  std::printf("pairs: %zu (file declares %u)\n", voc.PairCount(), report.declaredPairs);
  if (!report.Complete()) {
    std::printf("damaged:%s", report.truncated ? " cut short" : "");
    if (report.firstBadEntry >= 0) {
      std::printf(" entries from %lld on cannot be decoded",
                  static_cast<long long>(report.firstBadEntry));
    }
    if (report.clampedPairCounts)
      std::printf(" %zu pair counts out of range", report.clampedPairCounts);
    if (report.trailingBytes) std::printf(" bytes after the last record");
    std::printf("\n");
  }
  for (size_t i = 0; i < voc.EntryCount(); ++i) {
    const LetterCodes codes = voc.DecodeEntry(i);
    std::printf("%zu\t%s\t%s\tfrequency %u\tlength %u\n", i, Hex(codes).c_str(),
                Printable(Word(voc.Keys(), codes)).c_str(), voc.EntryFrequency(i),
                voc.EntryLength(i));
  }
  for (size_t i = 0; i < voc.PairCount(); ++i) {
    const LetterPairRecord pair = voc.GetPair(i);
    std::printf(
        "pair %zu\tkey 0x%04X\tletters %s (%s)\tweights %d %d %d %d\tcount %d\n", i, pair.key,
        Hex(PairLetters(pair)).c_str(),
        Printable(Word(voc.Keys(), PairLetters(pair).substr(0, static_cast<size_t>(pair.count))))
            .c_str(),
        pair.weights[0], pair.weights[1], pair.weights[2], pair.weights[3], pair.count);
  }
}

struct VocFileOptions {
  std::vector<std::string> file{""};
  std::string chr;
  bool json = false;
};

int RunVocDump(const VocFileOptions& options) {
  const bool json = options.json;
  const std::string& chr = options.chr;
  const std::vector<std::string>& args = options.file;
  if (chr.empty()) return Usage(kUsage);
  FILE* file = std::fopen(args[0].c_str(), "rb");
  if (!file) {
    std::fprintf(stderr, "tessaline: cannot open '%s'\n", args[0].c_str());
    return 1;
  }
  KeyMap keys;
  keys.LoadKeyMap(chr);
  if (keys.Charsets().empty())
    std::fprintf(stderr, "tessaline: no charsets in '%s'\n", chr.c_str());
  Vocabulary voc(keys);
  const VocabularyLoadReport report = voc.LoadVocabulary(file);
  std::fclose(file);
  if (json) {
    WriteJson(voc, report);
  } else {
    WriteText(voc, report);
  }
  return report.Complete() ? 0 : 1;
}

CommandRun DefineVocDump(CLI::App& app) {
  auto options = std::make_shared<VocFileOptions>();
  app.add_option("FILE.voc", options->file[0], "the vocabulary file")->required();
  app.add_option("--chr", options->chr, "its language file")->required();
  app.add_flag("--json", options->json);
  return [options] { return RunVocDump(*options); };
}

const Command kVocDump("voc", "dump", DefineVocDump, kUsage);

}  // namespace
}  // namespace tessaline::tool
