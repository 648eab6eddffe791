// tessaline text dump FILE [--json]: the section tree of a file in the structured text notation.
//
// Text is printed as UTF-8: a value whose bytes are well-formed UTF-8 (interface texts of
// language files) is kept as it is, any other is read as Windows-1252 (panel captions and other
// text in the ANSI code page).
#include <cstdio>
#include <vector>

#include "Commands.h"
#include "Json.h"
#include "textfile/TextFile.h"

namespace tessaline::tool {
namespace {

constexpr const char* kUsage = "  text dump FILE [--json]        the section tree of a structured text file\n";

// Both writers walk the tree with an explicit stack: a damaged file may nest sections far deeper
// than a call stack could follow.
struct Frame {
  const TextSection* section;
  size_t nextChild;
};

// A section's name, argument and records, and an empty list for its children.
Json SectionJson(const TextSection& section) {
  Json json;
  json["name"] = FileTextToUtf8(section.name);
  json["argument"] = FileTextToUtf8(section.argument);
  json["records"] = Json::array();
  for (const TextRecord& record : section.records) {
    Json item;
    item["key"] = FileTextToUtf8(record.key);
    item["values"] = Json::array();
    for (const TextValue& value : record.values) {
      Json valueJson;
      valueJson["text"] = FileTextToUtf8(value.text);
      valueJson["integer"] = value.integer;
      valueJson["real"] = static_cast<double>(value.real);
      valueJson["truth"] = value.truth;
      item["values"].push_back(std::move(valueJson));
    }
    json["records"].push_back(std::move(item));
  }
  json["children"] = Json::array();
  return json;
}

// Each child is appended to its parent's list before its own children are added, so the parents
// on the stack stay where they are (only the list of the section being filled grows).
Json TreeJson(const TextSection& root) {
  struct JsonFrame {
    const TextSection* section;
    size_t nextChild;
    Json* children;
  };
  Json json = SectionJson(root);
  std::vector<JsonFrame> stack{{&root, 0, &json["children"]}};
  while (!stack.empty()) {
    JsonFrame& top = stack.back();
    if (top.nextChild < top.section->children.size()) {
      const TextSection* child = top.section->children[top.nextChild++].get();
      top.children->push_back(SectionJson(*child));
      stack.push_back({child, 0, &top.children->back()["children"]});
    } else {
      stack.pop_back();
    }
  }
  return json;
}

void WriteTextRecords(const TextSection& section, const std::string& indent) {
  for (const TextRecord& record : section.records) {
    std::printf("%s%s =", indent.c_str(), Printable(FileTextToUtf8(record.key)).c_str());
    for (size_t i = 0; i < record.values.size(); ++i) {
      const TextValue& v = record.values[i];
      std::printf("%s \"%s\" (integer %d, real %.9g, %s)", i ? "," : "",
                  Printable(FileTextToUtf8(v.text)).c_str(), v.integer,
                  static_cast<double>(v.real), v.truth ? "true" : "false");
    }
    std::printf("\n");
  }
}

void WriteText(const TextSection& root) {
  std::vector<Frame> stack{{&root, 0}};
  WriteTextRecords(root, "");
  while (!stack.empty()) {
    Frame& top = stack.back();
    const std::string indent((stack.size() - 1) * 2, ' ');
    if (top.nextChild < top.section->children.size()) {
      const TextSection* child = top.section->children[top.nextChild++].get();
      std::printf("%s[%s=%s]\n", indent.c_str(), Printable(FileTextToUtf8(child->name)).c_str(),
                  Printable(FileTextToUtf8(child->argument)).c_str());
      WriteTextRecords(*child, indent + "  ");
      stack.push_back({child, 0});
    } else {
      if (stack.size() > 1) std::printf("%s[end]\n", std::string((stack.size() - 2) * 2, ' ').c_str());
      stack.pop_back();
    }
  }
}

struct TextDumpOptions {
  std::string file;
  bool json = false;
};

int RunTextDump(const TextDumpOptions& options) {
  const bool json = options.json;
  const TextSection root = ReadTextFile(options.file);
  if (json) {
    std::printf("%s\n", JsonText(TreeJson(root)).c_str());
  } else {
    WriteText(root);
  }
  return 0;
}

CommandRun DefineTextDump(CLI::App& app) {
  auto options = std::make_shared<TextDumpOptions>();
  app.add_option("FILE", options->file, "the structured text file")->required();
  app.add_flag("--json", options->json);
  return [options] { return RunTextDump(*options); };
}

const Command kTextDump("text", "dump", DefineTextDump, kUsage);

}  // namespace

}  // namespace tessaline::tool
