// tessaline usr dump FILE.usr [--json]: the user's words, the adaptation records and the decay
// day of a user dictionary file.
//
// A damaged file is shown as the engine reads it (the complete words and records before the
// damage), and the exit status is 1.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "Json.h"
#include "engine/UserDictionary.h"

namespace tessaline::tool {
namespace {

constexpr const char* kUsage =
    "  usr dump FILE.usr [--json]     the user's words, adaptation records and decay day\n";

bool Damaged(const UserDictionaryLoadReport& report) {
  return report.truncated || report.trailingBytes || report.duplicateRecords > 0;
}

int RunUsrDump(const std::vector<std::string>& args, bool json) {
  UserDictionary user;
  if (!user.LoadUserDictionary(args[0])) {
    std::fprintf(stderr, "tessaline: cannot open '%s'\n", args[0].c_str());
    return 1;
  }
  const UserDictionaryLoadReport& report = user.LastLoad();
  if (json) {
    Json out;
    out["decayDay"] = user.DecayDay();
    out["complete"] = !Damaged(report);
    Json& file = out["file"];
    file["declaredWords"] = report.declaredWords;
    file["declaredRecords"] = report.declaredRecords;
    file["truncated"] = report.truncated;
    file["duplicateRecords"] = report.duplicateRecords;
    file["trailingBytes"] = report.trailingBytes;
    out["words"] = Json::array();
    for (const WideString& word : user.Words()) out["words"].push_back(WideToUtf8(word));
    out["adaptations"] = Json::array();
    for (const auto& [word, record] : user.Adaptations()) {
      Json item;
      item["word"] = WideToUtf8(word);
      item["entry"] = record.entry;
      item["count"] = static_cast<int>(record.count);
      item["base"] = static_cast<int>(record.base);
      out["adaptations"].push_back(std::move(item));
    }
    std::printf("%s\n", JsonText(out).c_str());
  } else {
    std::printf("user words: %zu (file declares %u)\n", user.WordCount(), report.declaredWords);
    for (size_t i = 0; i < user.WordCount(); ++i) {
      std::printf("%zu\t%s\n", i, Printable(WideToUtf8(user.WordAt(i))).c_str());
    }
    std::printf("adaptation records: %zu (file declares %u)\n", user.Adaptations().size(),
                report.declaredRecords);
    for (const auto& [word, record] : user.Adaptations()) {
      std::printf("%s\tentry %d\tcount %d\tbase %u\n", Printable(WideToUtf8(word)).c_str(),
                  record.entry, record.count, record.base);
    }
    std::printf("decay day: %u\n", user.DecayDay());
    if (Damaged(report)) {
      std::printf("damaged:%s%s%s\n", report.truncated ? " cut short" : "",
                  report.duplicateRecords ? " repeated records dropped" : "",
                  report.trailingBytes ? " bytes after the decay day" : "");
    }
  }
  return Damaged(report) ? 1 : 0;
}

CommandRun DefineUsrDump(CLI::App& app) {
  struct Options {
    std::vector<std::string> file{""};
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  app.add_option("FILE.usr", options->file[0], "the user dictionary")->required();
  app.add_flag("--json", options->json);
  return [options] { return RunUsrDump(options->file, options->json); };
}

const Command kUsrDump("usr", "dump", DefineUsrDump, kUsage);

}  // namespace
}  // namespace tessaline::tool
