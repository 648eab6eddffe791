// tessaline text get FILE.chr N: interface text N of a language file, as UTF-8, or "Text #N"
// when the file has no such text or it is empty (what the options pages would show).
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "Commands.h"
#include "languages/InterfaceTexts.h"
#include "system/DataFiles.h"

namespace tessaline::tool {
namespace {

constexpr const char* kUsage =
    "  text get FILE.chr N            interface text N of a language file\n";

int RunTextGet(const std::vector<std::string>& args) {
  char* stop = nullptr;
  errno = 0;
  const long n = std::strtol(args[1].c_str(), &stop, 10);
  if (args[1].empty() || *stop != '\0' || errno == ERANGE || n < INT_MIN || n > INT_MAX) {
    std::fprintf(stderr, "tessaline: N must be a decimal number, not '%s'\n", args[1].c_str());
    return 2;
  }
  FILE* probe = OpenDataFile(args[0], "rb");
  if (!probe) {
    std::fprintf(stderr, "tessaline: cannot open '%s'\n", args[0].c_str());
    return 1;
  }
  std::fclose(probe);
  LoadInterfaceTextsFrom(args[0]);
  std::printf("%s\n", WideToUtf8(InterfaceText(static_cast<int>(n))).c_str());
  return 0;
}

CommandRun DefineTextGet(CLI::App& app) {
  auto args = std::make_shared<std::vector<std::string>>(2);
  app.add_option("FILE.chr", (*args)[0], "the language file")->required();
  app.add_option("N", (*args)[1], "the text's number")->required();
  return [args] { return RunTextGet(*args); };
}

const Command kTextGet("text", "get", DefineTextGet, kUsage);

}  // namespace
}  // namespace tessaline::tool
