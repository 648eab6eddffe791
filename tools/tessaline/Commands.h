// The tool's commands. Each lives in a file of its own (*Command.cpp) and registers itself with a
// static Command object; Main.cpp dispatches on the first argument, and on the second for
// commands that have subcommands ("voc dump", "voc build").
#pragma once

#include "Output.h"

namespace tessaline::tool {

using CommandFunction = int (*)(Args args);

struct Command {
  // subcommand: nullptr for a command without subcommands. run receives the arguments after the
  // command's name (and subcommand). usage: the lines "tessaline --help" prints for it.
  Command(const char* name, const char* subcommand, CommandFunction run, const char* usage);
};

}  // namespace tessaline::tool
