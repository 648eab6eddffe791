// tessaline keymap dump FILE.chr [--json] [--decode CODES]: the key map a language file gives.
//
// Prints the locale, the charsets (id, letters) and the key entries (key, letter count, number
// of main letters, letter codes in hex, letters, caption). In the caption the mark between the
// main letters and the others (U+0001) shows as \x01 in text form and as \u0001 in JSON.
// --decode turns letter codes (hex bytes separated by commas, "10,11,50") into the letters this
// key map gives them: '?' for a code of no charset, '!' for a position beyond a charset's letters.
#include <cstdio>
#include <cstdlib>

#include "Commands.h"
#include "Json.h"
#include "languages/KeyMap.h"
#include "system/DataFiles.h"

namespace tessaline::tool {
namespace {

constexpr const char* kUsage =
    "  keymap dump FILE.chr [--json] [--decode CODES]\n"
    "                                 the charsets and keys of a language file; CODES are hex\n"
    "                                 letter codes separated by commas\n";

std::string Hex(unsigned value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", digits, value);
  return buf;
}

std::string CodeList(const KeyEntry& key) {
  std::string out;
  for (int i = 0; i < key.count; ++i) out += (i ? " " : "") + Hex(key.codes[i], 2);
  return out;
}

WideString CharsetLetters(const Charset& set) { return WideString(set.letters, set.count); }

bool ParseCodes(const std::string& text, LetterCodes& codes) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(',', pos);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(pos, end - pos);
    char* stop = nullptr;
    const unsigned long value = std::strtoul(item.c_str(), &stop, 16);
    if (item.empty() || *stop != '\0' || value == 0 || value > 0xFF) return false;
    codes += static_cast<char>(value);
    pos = end + 1;
  }
  return !codes.empty();
}

void WriteJson(const KeyMap& map, const LetterCodes* decode) {
  Json json;
  json["locale"] = FileTextToUtf8(map.Locale());
  json["charsets"] = Json::array();
  for (const Charset& set : map.Charsets()) {
    Json item;
    item["id"] = static_cast<int>(set.id);
    item["count"] = static_cast<int>(set.count);
    item["letters"] = WideToUtf8(CharsetLetters(set));
    item["units"] = Json::array();
    for (int i = 0; i < set.count; ++i) item["units"].push_back(Hex(set.letters[i], 4));
    json["charsets"].push_back(std::move(item));
  }
  json["keys"] = Json::array();
  for (const KeyEntry& key : map.Keys()) {
    Json item;
    item["key"] = static_cast<int>(key.key);
    item["count"] = static_cast<int>(key.count);
    item["base"] = static_cast<int>(key.base);
    item["codes"] = Json::array();
    for (int i = 0; i < key.count; ++i) item["codes"].push_back(Hex(key.codes[i], 2));
    const WideString letters =
        map.Decode(std::string_view(reinterpret_cast<const char*>(key.codes), key.count));
    item["letters"] = WideToUtf8(letters);
    item["caption"] = WideToUtf8(map.KeyCaption(key.key));
    json["keys"].push_back(std::move(item));
  }
  if (decode) json["decoded"] = WideToUtf8(map.Decode(*decode));
  std::printf("%s\n", JsonText(json).c_str());
}

void WriteText(const KeyMap& map, const LetterCodes* decode) {
  std::printf("locale \"%s\"\n", Printable(FileTextToUtf8(map.Locale())).c_str());
  std::printf("charsets: %zu\n", map.Charsets().size());
  for (const Charset& set : map.Charsets()) {
    std::string units;
    for (int i = 0; i < set.count; ++i) units += (i ? " " : "") + Hex(set.letters[i], 4);
    std::printf("  charset %d: %d letters \"%s\" (%s)\n", set.id, set.count,
                Printable(WideToUtf8(CharsetLetters(set))).c_str(), units.c_str());
  }
  std::printf("keys: %zu\n", map.Keys().size());
  for (const KeyEntry& key : map.Keys()) {
    const WideString letters =
        map.Decode(std::string_view(reinterpret_cast<const char*>(key.codes), key.count));
    std::printf("  key %d: count %d, base %d, codes [%s], letters \"%s\", caption \"%s\"\n",
                key.key, key.count, key.base, CodeList(key).c_str(),
                Printable(WideToUtf8(letters)).c_str(),
                Printable(WideToUtf8(map.KeyCaption(key.key))).c_str());
  }
  if (decode) std::printf("decoded \"%s\"\n", Printable(WideToUtf8(map.Decode(*decode))).c_str());
}

struct KeymapOptions {
  std::string file, decodeText;
  bool json = false;
};

int RunKeymapDump(const KeymapOptions& options) {
  const bool json = options.json;
  const std::string& decodeText = options.decodeText;
  const std::vector<std::string> args{options.file};
  LetterCodes codes;
  if (!decodeText.empty() && !ParseCodes(decodeText, codes)) {
    std::fprintf(stderr, "tessaline: --decode takes hex letter codes 01 to FF, as 10,11,50\n");
    return 2;
  }
  FILE* probe = OpenDataFile(args[0], "rb");
  if (!probe) {
    std::fprintf(stderr, "tessaline: cannot open '%s'\n", args[0].c_str());
    return 1;
  }
  std::fclose(probe);
  KeyMap map;
  map.LoadKeyMap(args[0]);
  const LetterCodes* decode = decodeText.empty() ? nullptr : &codes;
  if (json) {
    WriteJson(map, decode);
  } else {
    WriteText(map, decode);
  }
  return 0;
}

CommandRun DefineKeymapDump(CLI::App& app) {
  auto options = std::make_shared<KeymapOptions>();
  app.add_option("FILE.chr", options->file, "the language file")->required();
  app.add_flag("--json", options->json);
  app.add_option("--decode", options->decodeText, "hex letter codes separated by commas");
  return [options] { return RunKeymapDump(*options); };
}

const Command kKeymapDump("keymap", "dump", DefineKeymapDump, kUsage);

}  // namespace
}  // namespace tessaline::tool
