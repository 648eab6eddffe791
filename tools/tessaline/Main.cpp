// tessaline: command-line tools around the input method's files and engine.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Commands.h"

namespace tessaline::tool {
namespace {

struct Group {
  const char* name;
  const char* subcommand;
  CommandFunction run;
  const char* usage;
};

std::vector<Group>& Groups() {
  static std::vector<Group> groups;
  return groups;
}

int Help(FILE* out) {
  std::fputs("usage: tessaline COMMAND ...\n\n", out);
  std::vector<Group> sorted = Groups();
  std::sort(sorted.begin(), sorted.end(),
            [](const Group& a, const Group& b) {
              const int byName = std::strcmp(a.name, b.name);
              if (byName != 0) return byName < 0;
              return std::strcmp(a.subcommand ? a.subcommand : "", b.subcommand ? b.subcommand : "") < 0;
            });
  for (const Group& g : sorted) std::fputs(g.usage, out);
  return out == stdout ? 0 : 2;
}

}  // namespace

Command::Command(const char* name, const char* subcommand, CommandFunction run,
                 const char* usage) {
  Groups().push_back({name, subcommand, run, usage});
}

}  // namespace tessaline::tool

int main(int argc, char** argv) {
  using namespace tessaline::tool;
  if (argc < 2) return Help(stderr);
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
    return Help(stdout);
  }
  for (const Group& g : Groups()) {
    if (std::strcmp(argv[1], g.name) != 0) continue;
    if (!g.subcommand) return g.run(Args(argv + 2, argv + argc));
    if (argc >= 3 && std::strcmp(argv[2], g.subcommand) == 0) {
      return g.run(Args(argv + 3, argv + argc));
    }
  }
  std::fprintf(stderr, "tessaline: unknown command '%s'\n", argv[1]);
  return Help(stderr);
}
