// The tool's commands. Each lives in a file of its own (*Command.cpp) and registers itself with a
// static Command object; Main.cpp picks the command by the first argument, and by the second for
// commands that have subcommands ("voc dump", "voc build"), and reads the rest with CLI11.
#pragma once

#include <functional>

#include <CLI/CLI.hpp>

#include "Output.h"

namespace tessaline::tool {

// What runs a command once its arguments are read; returns the exit status.
using CommandRun = std::function<int()>;
// Declares a command's options and arguments on app, bound to values the returned run owns.
using CommandDefinition = CommandRun (*)(CLI::App& app);

struct Command {
  // subcommand: nullptr for a command without subcommands. usage: the lines "tessaline --help"
  // prints for it, also printed after a usage error and under the command's own --help.
  Command(const char* name, const char* subcommand, CommandDefinition define, const char* usage);
};

// An option that may be given again and again, one value each time ("--extra A --extra B").
CLI::Option* AddRepeatedOption(CLI::App& app, const std::string& name,
                               std::vector<std::string>& values);

}  // namespace tessaline::tool
