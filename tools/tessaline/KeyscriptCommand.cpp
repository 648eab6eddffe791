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
    JsonWriter out;
    out.BeginArray();
    for (size_t row = 0; row < table.size(); ++row) {
      out.BeginObject();
      out.Field("row", static_cast<int>(row + 1));
      out.Field("script", WideToUtf8(table[row].scriptName));
      out.Field("display", WideToUtf8(table[row].displayName));
      out.Field("code", static_cast<int>(table[row].code));
      out.EndObject();
    }
    out.EndArray();
    std::printf("%s\n", out.Text().c_str());
    return 0;
  }
  for (size_t row = 0; row < table.size(); ++row) {
    std::printf("%2zu  %-14s %-11s 0x%02X\n", row + 1, WideToUtf8(table[row].scriptName).c_str(),
                WideToUtf8(table[row].displayName).c_str(), table[row].code);
  }
  return 0;
}

int RunKeyscript(Args args) {
  const bool json = TakeFlag(args, "--json");
  if (TakeFlag(args, "--names")) return args.empty() ? PrintNames(json) : Usage(kUsage);
  if (args.size() != 1) return Usage(kUsage);
  const std::vector<KeyScriptEvent> events =
      ReadCompiledKeyScript(CompileKeyScript(Utf8ToWide(args[0])));
  if (json) {
    JsonWriter out;
    out.BeginArray();
    for (const KeyScriptEvent& event : events) {
      out.BeginObject();
      if (event.isKey) {
        out.Field("key", static_cast<int>(event.code));
        out.Field("action", ActionName(event.action));
      } else {
        out.Field("text", WideToUtf8(event.text));
      }
      out.EndObject();
    }
    out.EndArray();
    std::printf("%s\n", out.Text().c_str());
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

const Command kKeyscript("keyscript", nullptr, RunKeyscript, kUsage);

}  // namespace
}  // namespace tessaline::tool
