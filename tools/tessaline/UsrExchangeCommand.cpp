// tessaline usr export / usr import: the Dictionary page's exchange of user words with a plain
// text file, on the desktop, so that a word list can be prepared on a computer.
//
//   usr export FILE.usr --chr FILE.chr -o WORDS.txt
//   usr import WORDS.txt --chr FILE.chr --usr FILE.usr [--json]
//
// Both follow the page: the words in the order of its sorted word list, the exchange file's
// format (UTF-8 lines ended by CR LF; lines that are not UTF-8 read in Windows-1252), and on
// import the words already in the .usr offered first, then the file's lines cleaned and lowered,
// each taken only when the language can spell it and its vocabulary lacks it, up to 512 words.
// The .usr gets the import's edits merged under the writers' lock, through a temporary file of
// its own beside it, so a failed write loses nothing and words other writers added stay.
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "Json.h"
#include "engine/Language.h"
#include "engine/UserDictionaryFile.h"
#include "options/ExchangeFile.h"
#include "options/WordImport.h"
#include "system/DataFiles.h"

namespace tessaline::tool {
namespace {

constexpr const char* kExportUsage =
    "  usr export FILE.usr --chr FILE.chr -o WORDS.txt\n"
    "                                 write the user's words to an exchange file as the\n"
    "                                 Dictionary page exports them (sorted, UTF-8, CR LF);\n"
    "                                 words the language cannot spell are named on stderr\n";
constexpr const char* kImportUsage =
    "  usr import WORDS.txt --chr FILE.chr --usr FILE.usr [--json]\n"
    "                                 import an exchange file into a user dictionary as the\n"
    "                                 Dictionary page does, print what was taken and why each\n"
    "                                 other word was dropped, and rewrite the .usr\n";

bool OpenLanguageFile(const std::string& chr) {
  FILE* probe = OpenDataFile(chr, "rb");
  if (!probe) {
    std::fprintf(stderr, "tessaline: cannot open '%s'\n", chr.c_str());
    return false;
  }
  std::fclose(probe);
  return true;
}

struct ExchangeOptions {
  std::vector<std::string> file{""};
  std::string chr, out, usr;
  bool json = false;
};

int RunUsrExport(const ExchangeOptions& options) {
  const std::string& chr = options.chr;
  const std::string& out = options.out;
  const std::vector<std::string>& args = options.file;
  if (chr.empty() || out.empty()) return Usage(kExportUsage);
  if (!OpenLanguageFile(chr)) return 1;
  UserDictionary user;
  if (!user.LoadUserDictionary(args[0])) {
    std::fprintf(stderr, "tessaline: cannot open '%s'\n", args[0].c_str());
    return 1;
  }
  KeyMap keys;
  keys.LoadKeyMap(chr);
  std::vector<WideString> words = user.Words();
  SortAsWordList(words);
  for (const WideString& word : words) {
    LetterCodes codes;
    if (!keys.Encode(word, codes)) {
      std::fprintf(stderr, "%s: not in the language's letters; an import would drop it\n",
                   Printable(WideToUtf8(word)).c_str());
    }
  }
  if (!WriteExchangeFile(out, words)) {
    std::fprintf(stderr, "tessaline: cannot write '%s'\n", out.c_str());
    return 1;
  }
  std::printf("%zu words written to %s\n", words.size(), out.c_str());
  return 0;
}

int RunUsrImport(const ExchangeOptions& options) {
  const bool json = options.json;
  const std::string& chr = options.chr;
  const std::string& usr = options.usr;
  const std::vector<std::string>& args = options.file;
  if (chr.empty() || usr.empty()) return Usage(kImportUsage);
  if (!OpenLanguageFile(chr)) return 1;
  FILE* exchange = OpenDataFile(args[0], "rb");
  if (!exchange) {
    std::fprintf(stderr, "tessaline: cannot open '%s'\n", args[0].c_str());
    return 1;
  }

  // A missing .usr is an empty user dictionary, which the import then creates; one that is there
  // but cannot be read is never written over.
  UserDictionaryFile& file = UserDictionaryFileAt(usr);
  UserDictionary user;
  const DataFileRead read = file.Read(user).read;
  if (read == DataFileRead::kUnreadable) {
    std::fclose(exchange);
    std::fprintf(stderr, "tessaline: cannot read '%s'; it is left as it was\n", usr.c_str());
    return 1;
  }
  const bool existed = read == DataFileRead::kRead;
  std::vector<WideString> listed = user.Words();
  SortAsWordList(listed);

  std::vector<ImportedWord> offered;
  ImportResult result;
  {
    Language language(chr, AnsiToWide(LanguageNameOf(chr)), false, true, 20, 4);
    result = ImportUserWords(language, listed, exchange,
                             [&](const ImportedWord& word) { offered.push_back(word); });
  }
  std::fclose(exchange);

  bool written = false;
  UserFileStatus status = UserFileStatus::kSaved;
  if (result.imported) {
    // The page's word list sorts what it gets, and Save writes the list's edits in that order:
    // the words dropped from it go, the new ones come; the adaptation records, the decay day and
    // whatever another writer put in the file meanwhile stay.
    SortAsWordList(result.words);
    status = file.Commit(WordListEdits(user.Words(), result.words)).status;
    written = status == UserFileStatus::kSaved;
  }

  if (json) {
    Json out;
    out["imported"] = result.imported;
    out["written"] = written;
    out["stoppedAtLimit"] = result.stoppedAtLimit;
    out["words"] = Json::array();
    for (const WideString& word : result.words) out["words"].push_back(WideToUtf8(word));
    out["offered"] = Json::array();
    for (const ImportedWord& word : offered) {
      Json item;
      item["word"] = WideToUtf8(word.word);
      item["line"] = word.line;
      item["outcome"] = ImportOutcomeName(word.outcome);
      out["offered"].push_back(std::move(item));
    }
    std::printf("%s\n", JsonText(out).c_str());
  } else {
    for (const ImportedWord& word : offered) {
      const std::string from =
          word.line == 0 ? std::string("listed") : "line " + std::to_string(word.line);
      std::printf("%s\t%s\t%s\n", Printable(WideToUtf8(word.word)).c_str(), from.c_str(),
                  ImportOutcomeName(word.outcome));
    }
    if (!result.imported) {
      std::printf("the language has no keys: nothing imported, %s left as it was\n", usr.c_str());
    } else {
      std::printf("%zu words in %s%s%s\n", result.words.size(), usr.c_str(),
                  existed ? "" : " (new file)",
                  result.stoppedAtLimit ? "; reading stopped at the 512-word limit" : "");
    }
  }
  if (result.imported && !written) {
    const char* reason = status == UserFileStatus::kLockBusy     ? "another program is writing it"
                         : status == UserFileStatus::kUnreadable ? "it cannot be read"
                                                                 : "the new file cannot be written";
    std::fprintf(stderr, "tessaline: cannot write '%s' (%s); it is left as it was\n", usr.c_str(),
                 reason);
    return 1;
  }
  return 0;
}

CommandRun DefineUsrExport(CLI::App& app) {
  auto options = std::make_shared<ExchangeOptions>();
  app.add_option("FILE.usr", options->file[0], "the user dictionary")->required();
  app.add_option("--chr", options->chr, "the language file")->required();
  app.add_option("-o", options->out, "the exchange file to write")->required();
  return [options] { return RunUsrExport(*options); };
}

CommandRun DefineUsrImport(CLI::App& app) {
  auto options = std::make_shared<ExchangeOptions>();
  app.add_option("WORDS.txt", options->file[0], "the exchange file")->required();
  app.add_option("--chr", options->chr, "the language file")->required();
  app.add_option("--usr", options->usr, "the user dictionary to import into")->required();
  app.add_flag("--json", options->json);
  return [options] { return RunUsrImport(*options); };
}

const Command kUsrExport("usr", "export", DefineUsrExport, kExportUsage);
const Command kUsrImport("usr", "import", DefineUsrImport, kImportUsage);

}  // namespace
}  // namespace tessaline::tool
