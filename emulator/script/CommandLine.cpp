#include "script/CommandLine.h"

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
    "                      pen up to candidates painted, Showing to the panel painted, memory\n"
    "  --select-im CLSID   make that installed input method the device's current one and exit\n"
    "  --trace             write the calls between the panel and the input method to stderr\n"
    "  --install           install the product's package into the device, as its installer\n"
    "  --package DIR       the package to install (default: 'package' beside the emulator)\n"
    "  --uninstall NAME    remove the installed application NAME, as the device's unload.exe\n"
    "                      (with --headless the setup library's questions are printed and\n"
    "                      answered as the device answers them, OK unless it says otherwise)\n";

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& line,
                      std::string& error) {
  line = {};
  std::string language, firstLanguage;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= arguments.size()) {
        error = argument + " needs a value";
        return false;
      }
      into = arguments[++i];
      return true;
    };
    if (argument == "--headless") {
      line.headless = true;
    } else if (argument == "--trace") {
      line.trace = true;
    } else if (argument == "--help" || argument == "-h") {
      line.help = true;
    } else if (argument == "--zoom") {
      std::string zoom;
      if (!value(zoom)) return false;
      if (zoom != "1" && zoom != "2" && zoom != "3") {
        error = "--zoom takes 1, 2 or 3, not '" + zoom + "'";
        return false;
      }
      line.zoom = zoom[0] - '0';
    } else if (argument == "--bench") {
      line.bench = true;
    } else if (argument == "--demo") {
      line.demo = true;
    } else if (argument == "--select-im") {
      if (!value(line.selectIm)) return false;
    } else if (argument == "--script") {
      if (!value(line.script)) return false;
    } else if (argument == "--shots") {
      if (!value(line.shots)) return false;
    } else if (argument == "--type" || argument == "--type-file") {
      TypingPart part;
      if (!value(argument == "--type" ? part.text : part.file)) return false;
      if (argument == "--type-file" && part.file.empty()) {
        error = "--type-file needs a file name";
        return false;
      }
      part.language = language;
      line.typing.push_back(std::move(part));
    } else if (argument == "--language") {
      if (!value(language)) return false;
      if (language.empty()) {
        error = "--language needs a language name";
        return false;
      }
      if (firstLanguage.empty()) firstLanguage = language;
    } else if (argument == "--install") {
      line.install = true;
    } else if (argument == "--package") {
      if (!value(line.package)) return false;
    } else if (argument == "--uninstall") {
      if (!value(line.uninstall)) return false;
      if (line.uninstall.empty()) {
        error = "--uninstall needs the name of an installed application";
        return false;
      }
    } else {
      error = "unknown argument '" + argument + "'";
      return false;
    }
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
