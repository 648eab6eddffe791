// tessaline panel dump FILE.pan [--layout NAME] [--width W] [--json]: what the input method
// reads from a panel file: the skin, and one layout's design size and buttons in drawing order,
// placed on a panel W pixels wide and as high as the panel height rule gives for that layout.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Commands.h"
#include "Json.h"
#include "panel/PanelFile.h"
#include "textfile/TextFile.h"

namespace tessaline::tool {
namespace {

constexpr const char* kUsage =
    "  panel dump FILE.pan [--layout NAME] [--width W] [--json]\n"
    "                                 skin and one layout (default main, 240 px) of a panel file\n";

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", value);
  return text;
}

std::string Utf8(const WideString& text) { return WideToUtf8(text); }

struct DumpInput {
  const TextSection* root;
  std::string layoutName;
  bool layoutFound;
  int width, height;
};

Json Rect(int x, int y, int w, int h) { return Json::array({x, y, w, h}); }

void WriteJson(const Skin& skin, const Panel& panel, const DumpInput& in) {
  Json json;
  Json& skinJson = json["skin"];
  skinJson["backcolor"] = skin.BackColor();
  skinJson["textcolor"] = skin.TextColor();
  skinJson["button_layouts"] = Json::array();
  for (const auto& [number, layout] : skin.ButtonLayouts()) {
    Json item;
    item["number"] = number;
    item["bitmap"] = FileTextToUtf8(layout.bitmapName);
    item["frames"] = layout.frames;
    item["size"] = Rect(layout.x, layout.y, layout.w, layout.h);
    item["cells"] = Json::array();
    for (const CellLayout& cell : layout.cells) {
      Json cellJson;
      cellJson["id"] = static_cast<int>(cell.id);
      cellJson["rect"] = Rect(cell.x, cell.y, cell.w, cell.h);
      cellJson["font"] = cell.font;
      cellJson["color"] = cell.color;
      item["cells"].push_back(std::move(cellJson));
    }
    skinJson["button_layouts"].push_back(std::move(item));
  }
  skinJson["icons"] = Json::array();
  for (const IconLayout& icon : skin.Icons()) {
    Json item;
    item["caption"] = Utf8(icon.caption);
    item["bitmap"] = FileTextToUtf8(icon.bitmapName);
    item["size"] = Rect(icon.x, icon.y, icon.w, icon.h);
    skinJson["icons"].push_back(std::move(item));
  }

  Json& layout = json["layout"];
  layout["name"] = in.layoutName;
  layout["section_found"] = in.layoutFound;
  layout["default_sx"] = panel.DefaultSx();
  layout["default_sy"] = panel.DefaultSy();
  layout["width"] = in.width;
  layout["height"] = in.height;
  layout["buttons"] = Json::array();
  for (const auto& b : panel.Buttons()) {
    Json item;
    item["id"] = static_cast<int>(b->id);
    item["layout"] = static_cast<int>(b->layout);
    item["toggle"] = b->toggle;
    item["event0"] = static_cast<int>(b->event0);
    item["event1"] = static_cast<int>(b->event1);
    item["captions"] = Json::object();
    for (const auto& [cell, text] : b->captions)
      item["captions"][std::to_string(cell)] = Utf8(text);
    item["fractions"] = Json::array();
    for (float v : {b->x, b->y, b->w, b->h}) item["fractions"].push_back(static_cast<double>(v));
    const PixelRect r = ButtonPixelRect(*b, in.width, in.height, 0, 0);
    item["pixels"] = Rect(r.left, r.top, r.width, r.height);
    layout["buttons"].push_back(std::move(item));
  }
  std::printf("%s\n", JsonText(json).c_str());
}

void WriteText(const Skin& skin, const Panel& panel, const DumpInput& in) {
  std::printf("skin\n  backcolor %s\n  textcolor %s\n", Hex(skin.BackColor()).c_str(),
              Hex(skin.TextColor()).c_str());
  for (const auto& [number, layout] : skin.ButtonLayouts()) {
    std::printf("  button_layout %d: bitmap \"%s\", frames %d, size %d, %d, %d, %d\n", number,
                Printable(FileTextToUtf8(layout.bitmapName)).c_str(), layout.frames, layout.x,
                layout.y, layout.w, layout.h);
    for (const CellLayout& cell : layout.cells) {
      std::printf("    cell %d: rect %d, %d, %d, %d, font %d, color %s\n", cell.id, cell.x, cell.y,
                  cell.w, cell.h, cell.font, Hex(cell.color).c_str());
    }
  }
  for (const IconLayout& icon : skin.Icons()) {
    std::printf("  icon \"%s\": bitmap \"%s\", size %d, %d, %d, %d\n",
                Printable(Utf8(icon.caption)).c_str(),
                Printable(FileTextToUtf8(icon.bitmapName)).c_str(), icon.x, icon.y, icon.w, icon.h);
  }
  std::printf("layout \"%s\" (%s)\n  design %d x %d units\n  panel %d x %d pixels\n",
              Printable(in.layoutName).c_str(),
              in.layoutFound ? "its own section" : "not found: the top level serves",
              panel.DefaultSx(), panel.DefaultSy(), in.width, in.height);
  for (const auto& b : panel.Buttons()) {
    const PixelRect r = ButtonPixelRect(*b, in.width, in.height, 0, 0);
    std::printf("  button %d: layout %d%s, event0 %d, event1 %d\n", b->id, b->layout,
                b->toggle ? ", toggle" : "", b->event0, b->event1);
    for (const auto& [cell, text] : b->captions) {
      std::printf("    caption %d: \"%s\"\n", cell, Printable(Utf8(text)).c_str());
    }
    std::printf("    fractions x %.6g, y %.6g, w %.6g, h %.6g\n", static_cast<double>(b->x),
                static_cast<double>(b->y), static_cast<double>(b->w), static_cast<double>(b->h));
    std::printf("    pixels left %d, top %d, width %d, height %d\n", r.left, r.top, r.width,
                r.height);
  }
}

struct PanelOptions {
  std::string file, layoutName = "main", widthText = "240";
  bool json = false;
};

int RunPanelDump(const PanelOptions& options) {
  const bool json = options.json;
  const std::string& layoutName = options.layoutName;
  const std::string& widthText = options.widthText;
  const std::vector<std::string> args{options.file};
  char* end = nullptr;
  const long width = std::strtol(widthText.c_str(), &end, 10);
  if (end == widthText.c_str() || *end != '\0' || width < 1 || width > 100000) {
    std::fprintf(stderr, "tessaline: --width needs a number of pixels from 1 to 100000\n");
    return 2;
  }
  const TextSection root = ReadTextFile(args[0]);
  Skin skin;
  skin.Read(root, args[0]);
  Panel panel;
  panel.SetSkin(&skin);
  panel.LoadLayout(root, layoutName);
  DumpInput in{&root, layoutName, &FindLayoutSection(root, layoutName) != &root,
               static_cast<int>(width), 0};
  in.height = PanelHeightOf(root, layoutName, in.width);
  if (json) {
    WriteJson(skin, panel, in);
  } else {
    WriteText(skin, panel, in);
  }
  return 0;
}

CommandRun DefinePanelDump(CLI::App& app) {
  auto options = std::make_shared<PanelOptions>();
  app.add_option("FILE.pan", options->file, "the panel file")->required();
  app.add_option("--layout", options->layoutName, "the layout's name (default main)");
  app.add_option("--width", options->widthText, "the panel's width in pixels (default 240)");
  app.add_flag("--json", options->json);
  return [options] { return RunPanelDump(*options); };
}

const Command kPanelDump("panel", "dump", DefinePanelDump, kUsage);

}  // namespace
}  // namespace tessaline::tool
