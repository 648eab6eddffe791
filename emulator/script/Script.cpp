#include "script/Script.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "keyscript/KeyScript.h"
#include "system/WideText.h"

namespace tessaline::emulator {
namespace {

struct VerbInfo {
  const char* word;
  ScriptVerb verb;
  int numbers;  // how many numbers follow
  bool named;   // a name follows instead
  const char* usage;
};

constexpr VerbInfo kVerbs[] = {
    {"tap", ScriptVerb::kTap, 2, false, "tap X Y"},
    {"down", ScriptVerb::kDown, 2, false, "down X Y"},
    {"move", ScriptVerb::kMove, 2, false, "move X Y"},
    {"up", ScriptVerb::kUp, 2, false, "up X Y"},
    {"hold", ScriptVerb::kHold, 3, false, "hold X Y MS"},
    {"swipe", ScriptVerb::kSwipe, 4, false, "swipe X1 Y1 X2 Y2"},
    {"wait", ScriptVerb::kWait, 1, false, "wait MS"},
    {"shot", ScriptVerb::kShot, 0, true, "shot NAME"},
    {"options", ScriptVerb::kOptions, 0, false, "options"},
    {"show", ScriptVerb::kShow, 0, false, "show"},
    {"hide", ScriptVerb::kHide, 0, false, "hide"},
    {"key", ScriptVerb::kKey, 0, true, "key NAME"},
    {"install", ScriptVerb::kInstall, 0, false, "install"},
    {"uninstall", ScriptVerb::kUninstall, 0, false, "uninstall"},
    {"reset", ScriptVerb::kReset, 0, false, "reset"},
    {"answer", ScriptVerb::kAnswer, 0, true, "answer ok|cancel"},
    {"current", ScriptVerb::kCurrent, 0, true, "current NAME"},
    {"pick", ScriptVerb::kPick, 0, true, "pick NAME"},
};

// An input method's name may hold spaces: these verbs take the rest of the line.
bool TakesTheRestOfTheLine(ScriptVerb verb) {
  return verb == ScriptVerb::kCurrent || verb == ScriptVerb::kPick;
}

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

// A whole decimal number in range, nothing else.
bool ReadNumber(const std::string& word, int low, int high, int& value) {
  if (word.empty() || word.size() > 10) return false;
  size_t start = word[0] == '-' ? 1 : 0;
  if (start == word.size()) return false;
  for (size_t i = start; i < word.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(word[i]))) return false;
  }
  const long long number = std::strtoll(word.c_str(), nullptr, 10);
  if (number < low || number > high) return false;
  value = static_cast<int>(number);
  return true;
}

// A screenshot is written beside the others: a plain name without folders or odd characters.
bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name.size() > 100 || name == "." || name == "..") return false;
  for (char ch : name) {
    if (!(std::isalnum(static_cast<unsigned char>(ch)) || ch == '-' || ch == '_' || ch == '.')) {
      return false;
    }
  }
  return true;
}

// A key name alone, or a key script made of key names only (literal text has no place here).
bool ReadKeys(const std::string& text, std::vector<ScriptCommand::Key>& keys) {
  keys.clear();
  if (const uint8_t code = KeyCodeByName(text)) {
    keys.push_back({code, true, true});
    return true;
  }
  for (const KeyScriptEvent& event : ReadCompiledKeyScript(CompileKeyScript(Utf8ToWide(text)))) {
    if (!event.isKey || event.action > kReleaseOnly) return false;
    keys.push_back({event.code, event.action != kReleaseOnly, event.action != kPressOnly});
  }
  return !keys.empty();
}

bool Fail(ScriptError& error, int line, const std::string& message) {
  error.line = line;
  error.message = "line " + std::to_string(line) + ": " + message;
  return false;
}

bool ParseLine(std::vector<std::string> words, int line, ScriptCommand& command,
               ScriptError& error) {
  const std::string verb = Lower(words[0]);
  const VerbInfo* info = nullptr;
  for (const VerbInfo& candidate : kVerbs) {
    if (verb == candidate.word) info = &candidate;
  }
  if (!info) return Fail(error, line, "unknown command '" + words[0] + "'");
  if (TakesTheRestOfTheLine(info->verb) && words.size() > 2) {
    for (size_t i = 2; i < words.size(); ++i) words[1] += " " + words[i];
    words.resize(2);
  }
  const size_t wanted = 1 + static_cast<size_t>(info->numbers) + (info->named ? 1 : 0);
  if (words.size() != wanted) {
    return Fail(error, line,
                std::string("'") + info->word + "' takes " +
                    (wanted == 1 ? "nothing" : "the form '" + std::string(info->usage) + "'") +
                    ", got " + std::to_string(words.size() - 1) + " argument(s)");
  }
  command.verb = info->verb;
  command.line = line;
  for (int i = 0; i < info->numbers; ++i) {
    const bool isTime =
        (info->verb == ScriptVerb::kHold && i == 2) || info->verb == ScriptVerb::kWait;
    const int low = isTime ? 0 : -kLargestCoordinate;
    const int high = isTime ? kLongestWait : kLargestCoordinate;
    if (!ReadNumber(words[1 + i], low, high, command.numbers[i])) {
      return Fail(error, line,
                  "'" + words[1 + i] + "' is not " +
                      (isTime ? "a time in milliseconds from 0 to " + std::to_string(kLongestWait)
                              : "a whole number of device pixels") +
                      " (" + info->usage + ")");
    }
  }
  if (info->verb == ScriptVerb::kShot) {
    command.name = words[1];
    if (command.name.size() > 4 && Lower(command.name.substr(command.name.size() - 4)) == ".png") {
      command.name.resize(command.name.size() - 4);
    }
    if (!IsPlainFileName(command.name)) {
      return Fail(error, line,
                  "'" + words[1] + "' is not a plain file name (letters, digits, '-', '_', '.')");
    }
  }
  if (info->verb == ScriptVerb::kAnswer) {
    command.name = Lower(words[1]);
    if (command.name != "ok" && command.name != "cancel") {
      return Fail(error, line, "'" + words[1] + "' is no answer: 'answer ok' or 'answer cancel'");
    }
  }
  if (TakesTheRestOfTheLine(info->verb)) command.name = words[1];
  if (info->verb == ScriptVerb::kKey) {
    command.name = words[1];
    if (!ReadKeys(words[1], command.keys)) {
      return Fail(error, line,
                  "'" + words[1] +
                      "' is neither a key name (VK_HOME, Home) nor a key script of "
                      "key names (VK_CONTROLd+VK_HOME+VK_CONTROLu)");
    }
  }
  return true;
}

}  // namespace

uint8_t KeyCodeByName(const std::string& name) {
  const std::string wanted = Lower(name);
  if (wanted.empty()) return 0;
  for (const KeyName& key : KeyNameTable()) {
    if (Lower(WideToUtf8(key.scriptName)) == wanted) return key.code;
  }
  // Display names are not unique ("-" is both the numeric pad's and the main row's): the first
  // row wins, as in the table's order.
  for (const KeyName& key : KeyNameTable()) {
    if (Lower(WideToUtf8(key.displayName)) == wanted) return key.code;
  }
  return 0;
}

bool ParseScript(const std::string& text, std::vector<ScriptCommand>& commands,
                 ScriptError& error) {
  commands.clear();
  std::istringstream lines(text);
  std::string lineText;
  int line = 0;
  while (std::getline(lines, lineText)) {
    ++line;
    if (!lineText.empty() && lineText.back() == '\r') lineText.pop_back();
    std::istringstream wordStream(lineText);
    std::vector<std::string> words;
    for (std::string word; wordStream >> word;) words.push_back(word);
    if (words.empty() || words[0][0] == '#') continue;
    ScriptCommand command;
    const std::string verb = Lower(words[0]);
    if (verb == "type" || verb == "page" || verb == "press" || verb == "choose") {
      // The text is the rest of the line after one blank, spaces kept.
      const size_t start = lineText.find_first_not_of(" \t");
      const std::string rest = lineText.substr(std::min(lineText.size(), start + verb.size() + 1));
      std::string text;
      for (size_t i = 0; i < rest.size(); ++i) {
        const bool lineBreak = rest[i] == '\\' && i + 1 < rest.size() && rest[i + 1] == 'n';
        text.push_back(lineBreak ? '\n' : rest[i]);
        i += lineBreak ? 1 : 0;
      }
      if (text.empty()) {
        commands.clear();
        return Fail(error, line, "'" + verb + "' takes the form '" + verb + " TEXT'");
      }
      command.verb = verb == "type"     ? ScriptVerb::kType
                     : verb == "page"   ? ScriptVerb::kPage
                     : verb == "choose" ? ScriptVerb::kChoose
                                        : ScriptVerb::kPress;
      command.line = line;
      command.name = text;
      commands.push_back(std::move(command));
      continue;
    }
    if (!ParseLine(words, line, command, error)) {
      commands.clear();
      return false;
    }
    commands.push_back(std::move(command));
  }
  return true;
}

}  // namespace tessaline::emulator
