// tessaline: command-line tools around the input method's files and engine.
#include <cstdio>
#include <cstring>

#include "Commands.h"

namespace {

struct Group {
  const char* name;
  int (*run)(tessaline::tool::Args);
  const char* summary;
};

constexpr Group kGroups[] = {
    {"text", tessaline::tool::RunTextCommand, "text dump FILE [--json]   the section tree of a text file"},
};

int Help(FILE* out) {
  std::fputs("usage: tessaline COMMAND ...\n\n", out);
  for (const Group& g : kGroups) std::fprintf(out, "  %s\n", g.summary);
  return out == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Help(stderr);
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
    return Help(stdout);
  }
  for (const Group& g : kGroups) {
    if (std::strcmp(argv[1], g.name) == 0) {
      return g.run(tessaline::tool::Args(argv + 2, argv + argc));
    }
  }
  std::fprintf(stderr, "tessaline: unknown command '%s'\n", argv[1]);
  return Help(stderr);
}
