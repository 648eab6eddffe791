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

void WriteJson(const Skin& skin, const Panel& panel, const DumpInput& in) {
  JsonWriter json;
  json.BeginObject();
  json.Key("skin");
  json.BeginObject();
  json.Field("backcolor", static_cast<int64_t>(skin.BackColor()));
  json.Field("textcolor", static_cast<int64_t>(skin.TextColor()));
  json.Key("button_layouts");
  json.BeginArray();
  for (const auto& [number, layout] : skin.ButtonLayouts()) {
    json.BeginObject();
    json.Field("number", number);
    json.Field("bitmap", FileTextToUtf8(layout.bitmapName));
    json.Field("frames", layout.frames);
    json.Key("size");
    json.BeginArray();
    for (int v : {layout.x, layout.y, layout.w, layout.h}) json.Int(v);
    json.EndArray();
    json.Key("cells");
    json.BeginArray();
    for (const CellLayout& cell : layout.cells) {
      json.BeginObject();
      json.Field("id", static_cast<int>(cell.id));
      json.Key("rect");
      json.BeginArray();
      for (int v : {cell.x, cell.y, cell.w, cell.h}) json.Int(v);
      json.EndArray();
      json.Field("font", cell.font);
      json.Field("color", static_cast<int64_t>(cell.color));
      json.EndObject();
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  json.Key("icons");
  json.BeginArray();
  for (const IconLayout& icon : skin.Icons()) {
    json.BeginObject();
    json.Field("caption", Utf8(icon.caption));
    json.Field("bitmap", FileTextToUtf8(icon.bitmapName));
    json.Key("size");
    json.BeginArray();
    for (int v : {icon.x, icon.y, icon.w, icon.h}) json.Int(v);
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();

  json.Key("layout");
  json.BeginObject();
  json.Field("name", in.layoutName);
  json.Field("section_found", in.layoutFound);
  json.Field("default_sx", panel.DefaultSx());
  json.Field("default_sy", panel.DefaultSy());
  json.Field("width", in.width);
  json.Field("height", in.height);
  json.Key("buttons");
  json.BeginArray();
  for (const auto& b : panel.Buttons()) {
    json.BeginObject();
    json.Field("id", static_cast<int>(b->id));
    json.Field("layout", static_cast<int>(b->layout));
    json.Field("toggle", b->toggle);
    json.Field("event0", static_cast<int>(b->event0));
    json.Field("event1", static_cast<int>(b->event1));
    json.Key("captions");
    json.BeginObject();
    for (const auto& [cell, text] : b->captions) json.Field(std::to_string(cell), Utf8(text));
    json.EndObject();
    json.Key("fractions");
    json.BeginArray();
    for (float v : {b->x, b->y, b->w, b->h}) json.Real(v);
    json.EndArray();
    const PixelRect r = ButtonPixelRect(*b, in.width, in.height, 0, 0);
    json.Key("pixels");
    json.BeginArray();
    for (int v : {r.left, r.top, r.width, r.height}) json.Int(v);
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  json.EndObject();
  std::printf("%s\n", json.Text().c_str());
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

int RunPanelDump(Args args) {
  bool ok = true;
  const bool json = TakeFlag(args, "--json");
  const std::string layoutName = TakeOption(args, "--layout", "main", ok);
  const std::string widthText = TakeOption(args, "--width", "240", ok);
  if (!ok || args.size() != 1) return Usage(kUsage);
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

const Command kPanelDump("panel", "dump", RunPanelDump, kUsage);

}  // namespace
}  // namespace tessaline::tool
