// The emulator's command line.
//
//   emulator [--zoom 1|2|3] [--headless] [--script FILE] [--shots DIR] [--trace]
//            [--type TEXT | --type-file FILE] [--language NAME]
//   emulator --install [--package DIR] [--headless]
//   emulator --uninstall NAME [--headless]
#pragma once

#include <string>
#include <vector>

namespace tessaline::emulator {

struct CommandLine {
  int zoom = 1;
  bool headless = false;
  bool trace = false;  // the calls between the panel and the input method, on standard error
  bool help = false;
  std::string script;    // a script file to replay
  std::string shots;     // the folder for screenshots
  std::string typeText;  // a text to type, given directly or read from typeFile
  std::string typeFile;
  std::string language;
  // The device's installer and uninstaller instead of the device screen.
  bool install = false;
  std::string package;    // the package to install (empty: the one beside the emulator)
  std::string uninstall;  // the installed application to remove
};

// Reads the arguments (UTF-8, program name left out). On a mistake returns false with a message
// for a person.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& line,
                      std::string& error);

extern const char* const kCommandLineUsage;

}  // namespace tessaline::emulator
