// tessaline keyscript TEXT [--json]: the key events a user button's key script compiles to, in
// order; with --names, the key name table.
#include <cstdio>

#include "Commands.h"
#include "Json.h"
#include "keyscript/KeyScript.h"

namespace tessaline::tool {
namespace {

constexpr const char* kUsage =
    "  keyscript TEXT [--json]        the key events of a key script, in order\n"
    "  keyscript --names [--json]     the key name table (row, script name, display name, code)\n";

const char* ActionName(uint8_t action) {
  switch (action) {
    case kPressAndRelease:
      return "both";
    case kPressOnly:
      return "press";
    case kReleaseOnly:
      return "release";
    default:
      return "none";
  }
}

int PrintNames(bool json) {
  const auto table = KeyNameTable();
  if (json) {
    Json out = Json::array();
    for (size_t row = 0; row < table.size(); ++row) {
      Json item;
      item["row"] = row + 1;
      item["script"] = WideToUtf8(table[row].scriptName);
      item["display"] = WideToUtf8(table[row].displayName);
      item["code"] = static_cast<int>(table[row].code);
      out.push_back(std::move(item));
    }
    std::printf("%s\n", JsonText(out).c_str());
    return 0;
  }
  for (size_t row = 0; row < table.size(); ++row) {
    std::printf("%2zu  %-14s %-11s 0x%02X\n", row + 1, WideToUtf8(table[row].scriptName).c_str(),
                WideToUtf8(table[row].displayName).c_str(), table[row].code);
  }
  return 0;
}

struct KeyscriptOptions {
  std::vector<std::string> args;
  bool json = false, names = false;
};

int RunKeyscript(const KeyscriptOptions& options) {
  const bool json = options.json;
  const std::vector<std::string>& args = options.args;
  if (options.names) return args.empty() ? PrintNames(json) : Usage(kUsage);
  if (args.size() != 1) return Usage(kUsage);
  const std::vector<KeyScriptEvent> events =
      ReadCompiledKeyScript(CompileKeyScript(Utf8ToWide(args[0])));
  if (json) {
    Json out = Json::array();
    for (const KeyScriptEvent& event : events) {
      Json item = Json::object();
      if (event.isKey) {
        item["key"] = static_cast<int>(event.code);
        item["action"] = ActionName(event.action);
      } else {
        item["text"] = WideToUtf8(event.text);
      }
      out.push_back(std::move(item));
    }
    std::printf("%s\n", JsonText(out).c_str());
    return 0;
  }
  for (const KeyScriptEvent& event : events) {
    if (event.isKey) {
      std::printf("key 0x%02X %s\n", event.code, ActionName(event.action));
    } else {
      std::printf("text \"%s\"\n", Printable(WideToUtf8(event.text)).c_str());
    }
  }
  return 0;
}

CommandRun DefineKeyscript(CLI::App& app) {
  auto options = std::make_shared<KeyscriptOptions>();
  app.add_option("TEXT", options->args, "the key script");
  app.add_flag("--json", options->json);
  app.add_flag("--names", options->names, "the key name table");
  return [options] { return RunKeyscript(*options); };
}

const Command kKeyscript("keyscript", nullptr, DefineKeyscript, kUsage);

}  // namespace
}  // namespace tessaline::tool
