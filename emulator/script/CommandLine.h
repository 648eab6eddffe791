// The emulator's command line.
//
//   emulator [--zoom 1|2|3] [--headless] [--script FILE] [--shots DIR] [--trace]
//            [[--language NAME] (--type TEXT | --type-file FILE)]...
//            [--demo] [--bench]
//   emulator --select-im CLSID
#pragma once

#include <string>
#include <vector>

namespace tessaline::emulator {

// One text for the typist, in the language it is typed in (empty: the device's first language).
struct TypingPart {
  std::string text;  // given directly, or
  std::string file;  // read from this UTF-8 file
  std::string language;
};

struct CommandLine {
  int zoom = 1;
  bool headless = false;
  bool trace = false;  // the calls between the panel and the input method, on standard error
  bool help = false;
  bool bench = false;    // measure while typing (the demonstration paragraphs by default)
  bool demo = false;     // type the demonstration paragraphs (English, then German)
  std::string selectIm;  // a class id to make the current input method, then exit
  std::string script;    // a script file to replay
  std::string shots;     // the folder for screenshots
  // The texts to type, in order: each takes the last --language before it, or, with none
  // before it, the first one given.
  std::vector<TypingPart> typing;
};

// Reads the arguments (UTF-8, program name left out). On a mistake returns false with a message
// for a person.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& line,
                      std::string& error);

extern const char* const kCommandLineUsage;

}  // namespace tessaline::emulator
