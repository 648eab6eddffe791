#include "script/CommandLine.h"

#include <CLI/CLI.hpp>

namespace tessaline::emulator {

const char* const kCommandLineUsage =
    "usage: emulator [options]\n"
    "  --zoom 1|2|3        draw the 240 x 320 device screen at that scale (default 1)\n"
    "  --headless          run without a person: replay the script, print the Notes text, exit\n"
    "  --script FILE       pen events and commands, one a line (tap X Y, down X Y, move X Y,\n"
    "                      up X Y, hold X Y MS, swipe X1 Y1 X2 Y2, wait MS, shot NAME, options,\n"
    "                      show, hide, key NAME); positions in device pixels\n"
    "  --shots DIR         where 'shot NAME' writes NAME.png (default: the current folder)\n"
    "  --type TEXT         type the text on Tessaline's keypad as a person would, print the\n"
    "                      taps and the Notes text; the exit status is 3 when the Notes text\n"
    "                      differs from TEXT, 2 when TEXT has a character no key gives\n"
    "  --type-file FILE    the same with a UTF-8 text file\n"
    "  --language NAME     the language of the texts that follow (Tessaline's language files\n"
    "                      NAME.chr); it becomes the device's first language before the panel\n"
    "                      is shown, a second one is reached with the symbols pop-up's\n"
    "                      language key. Repeat --language and --type to type in turn\n"
    "  --demo              type an English and a German paragraph (as --type does)\n"
    "  --bench             measure while typing (the --demo paragraphs unless --type is given):\n"
    "                      pen up to candidates painted, Showing to the panel painted, the\n"
    "                      input method's own memory\n"
    "  --select-im CLSID   make that installed input method the device's current one and exit\n"
    "  --trace             write the calls between the panel and the input method to stderr\n"
    "  --install           install the product's package into the device, as its installer\n"
    "  --package DIR       the package to install (default: 'package' beside the emulator)\n"
    "  --uninstall NAME    remove the installed application NAME, as the device's unload.exe\n"
    "                      (with --headless the setup library's questions are printed and\n"
    "                      answered as the device answers them, OK unless it says otherwise)\n";

namespace {

// A check that refuses an empty value with the message given.
CLI::Validator NotEmpty(const std::string& message) {
  return CLI::Validator([message](std::string& value) { return value.empty() ? message : ""; },
                        "", "");
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& line,
                      std::string& error) {
  line = {};
  std::string language, firstLanguage;
  CLI::App app("emulator", "emulator");
  app.set_help_flag();  // --help is an ordinary flag: the caller prints kCommandLineUsage
  app.add_flag("-h,--help", line.help);
  app.add_flag("--headless", line.headless);
  app.add_flag("--trace", line.trace);
  app.add_flag("--bench", line.bench);
  app.add_flag("--demo", line.demo);
  app.add_flag("--install", line.install);
  app.add_option("--zoom", line.zoom)->check(CLI::Validator(
      [](std::string& zoom) {
        return zoom == "1" || zoom == "2" || zoom == "3"
                   ? std::string()
                   : "--zoom takes 1, 2 or 3, not '" + zoom + "'";
      },
      "", ""));
  app.add_option("--select-im", line.selectIm);
  app.add_option("--script", line.script);
  app.add_option("--shots", line.shots);
  app.add_option("--package", line.package);
  app.add_option("--uninstall", line.uninstall)
      ->check(NotEmpty("--uninstall needs the name of an installed application"));
  // The texts and their languages are read in the order given: each text takes the language
  // named last before it.
  auto typing = [&](bool file) {
    return [&line, &language, file](const std::string& value) {
      TypingPart part;
      (file ? part.file : part.text) = value;
      part.language = language;
      line.typing.push_back(std::move(part));
    };
  };
  app.add_option_function<std::string>("--type", typing(false))->trigger_on_parse();
  app.add_option_function<std::string>("--type-file", typing(true))
      ->check(NotEmpty("--type-file needs a file name"))
      ->trigger_on_parse();
  app.add_option_function<std::string>("--language",
                                       [&](const std::string& value) {
                                         language = value;
                                         if (firstLanguage.empty()) firstLanguage = value;
                                       })
      ->check(NotEmpty("--language needs a language name"))
      ->trigger_on_parse();
  try {
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    error = e.what();
    return false;
  }
  for (TypingPart& part : line.typing) {
    if (part.language.empty()) part.language = firstLanguage;
  }
  if ((!line.typing.empty() || line.demo || line.bench) && !line.script.empty()) {
    error = "--type and --script exclude each other";
    return false;
  }
  const bool setup = line.install || !line.uninstall.empty();
  if (line.install && !line.uninstall.empty()) {
    error = "--install and --uninstall exclude each other";
    return false;
  }
  if (!line.package.empty() && !line.install) {
    error = "--package goes with --install";
    return false;
  }
  if (setup && (line.zoom != 1 || line.trace || !line.script.empty() || !line.shots.empty() ||
                !line.typing.empty() || !language.empty() || line.demo || line.bench ||
                !line.selectIm.empty())) {
    error = "--install and --uninstall take only --package and --headless";
    return false;
  }
  if (line.headless && line.zoom != 1) {
    error = "--headless draws the device at its own size: leave out --zoom";
    return false;
  }
  return true;
}

}  // namespace tessaline::emulator
