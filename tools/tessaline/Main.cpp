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
  CommandDefinition define;
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

// Reads a command's arguments (argv[0] is its name) and runs it. A usage error prints the message
// and the command's usage on stderr and gives 2; --help prints its help on stdout and gives 0.
int RunGroup(const Group& group, int argc, char** argv) {
  std::string title = std::string("tessaline ") + group.name;
  if (group.subcommand) title += std::string(" ") + group.subcommand;
  CLI::App app(title, title);
  app.footer(std::string("usage:\n") + group.usage);
  const CommandRun run = group.define(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return 0;
  } catch (const CLI::ParseError& error) {
    std::fprintf(stderr, "tessaline: %s\n", error.what());
    return Usage(group.usage);
  }
  return run();
}

}  // namespace

Command::Command(const char* name, const char* subcommand, CommandDefinition define,
                 const char* usage) {
  Groups().push_back({name, subcommand, define, usage});
}

CLI::Option* AddRepeatedOption(CLI::App& app, const std::string& name,
                               std::vector<std::string>& values) {
  return app.add_option(name, values)->allow_extra_args(false)->type_size(1);
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
    if (!g.subcommand) return RunGroup(g, argc - 1, argv + 1);
    if (argc >= 3 && std::strcmp(argv[2], g.subcommand) == 0) {
      return RunGroup(g, argc - 2, argv + 2);
    }
  }
  std::fprintf(stderr, "tessaline: unknown command '%s'\n", argv[1]);
  return Help(stderr);
}
