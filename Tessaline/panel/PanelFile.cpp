#include "panel/PanelFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "panel/BmpFile.h"
#include "system/DataFiles.h"
#include "system/Messages.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

// Record kinds. "name:N" is recognised only with exactly N values; the others need at least one
// value, and a key standing alone is read as nothing (never beyond the values given).
constexpr const char* kSkinSchema = "backcolor;textcolor";
constexpr const char* kButtonLayoutSchema = "bitmap;size:4";
constexpr const char* kCellSchema = "rect:4;font;color";
constexpr const char* kIconSchema = "bitmap;size:4;caption";
constexpr const char* kLayoutSchema = "default_sx:1;default_sy:1;button:4;button:5";
constexpr const char* kButtonSchema = "pos:2;layout;toggle;event0;event1;caption:2";

const TextValue& First(const TextRecord& record) { return record.values[0]; }
const TextValue& Value(const TextRecord& record, int i) {
  return record.values[static_cast<size_t>(i)];
}

// A rectangle record of exactly four values (the schema matched its count): X, Y, W, H.
template <typename T>
void ReadRect(const TextRecord& record, T& x, T& y, T& w, T& h) {
  x = static_cast<T>(Value(record, 0).integer);
  y = static_cast<T>(Value(record, 1).integer);
  w = static_cast<T>(Value(record, 2).integer);
  h = static_cast<T>(Value(record, 3).integer);
}

// The process-wide counter of identifiers for button sections without an argument.
int NextAutomaticButtonId() {
  static int counter = kFirstAutomaticButtonId;
  return counter++;
}

// Design sizes come from the number read as a real and are truncated.
int DesignSize(const TextValue& value) { return TruncToInt(value.real); }

}  // namespace

int32_t TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

const std::vector<std::string>& BuiltInBitmapNames() {
  static const std::vector<std::string> names = {
      "b_abc",        "lb_abc",     "b_blue",      "b_close", "b_next",   "b_t9",     "lb_t9",
      "b_white",      "b_gray",     "lb_white",    "lb_gray", "lb2_gray", "mb_white", "b_options",
      "b_userbutton", "splitter",   "i_copy",      "i_paste", "i_cut",    "i_delete", "i_sel_all",
      "i_sel_line",   "i_sel_left", "i_sel_right", "i_sys"};
  return names;
}

bool IsBuiltInBitmapName(const std::string& name) {
  const auto& names = BuiltInBitmapNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

const CellLayout* ButtonLayout::FindCell(int id) const {
  for (const CellLayout& cell : cells) {
    if (cell.id == id) return &cell;
  }
  return nullptr;
}

// ---- Skin ----

Skin::~Skin() { FreeBitmaps(); }

void Skin::FreeBitmaps() {
  if (factory_) {
    for (auto& [name, bitmap] : cache_) {
      if (bitmap) factory_->Free(bitmap);
    }
  }
  cache_.clear();
  for (auto& [number, layout] : layouts_) layout.bitmap = nullptr;
  for (IconLayout& icon : icons_) icon.bitmap = nullptr;
}

void Skin::Read(const TextSection& root, const std::string& panelPath) {
  FreeBitmaps();
  tinted_ = false;
  backColor_ = 0;
  textColor_ = 0xFFFFFF;
  layouts_.clear();
  icons_.clear();
  panelPath_ = panelPath;
  const size_t slash = panelPath.rfind('\\');
  folder_ = slash == std::string::npos ? std::string() : panelPath.substr(0, slash + 1);

  for (int i = 0; i < root.RecordCount(); ++i) {
    const TextRecord& record = root.records[static_cast<size_t>(i)];
    if (record.ValueCount() == 0) continue;
    switch (RecordKind(root, i, kSkinSchema)) {
      case 0:
        backColor_ = static_cast<uint32_t>(First(record).integer);
        break;
      case 1:
        textColor_ = static_cast<uint32_t>(First(record).integer);
        break;
      default:
        break;
    }
  }
  for (int c = 0; c < root.ChildCount(); ++c) {
    const TextSection& child = *root.children[static_cast<size_t>(c)];
    switch (SectionKind(root, c, "button_layout;icon")) {
      case 0:
        ReadButtonLayout(child);
        break;
      case 1:
        ReadIcon(child);
        break;
      default:
        break;  // layouts and anything else are not part of the skin
    }
  }
}

void Skin::ReadButtonLayout(const TextSection& section) {
  ButtonLayout layout;
  layout.number = ParseTextInteger(section.argument);
  if (layouts_.count(layout.number)) return;  // the first of a number wins
  for (int i = 0; i < section.RecordCount(); ++i) {
    const TextRecord& record = section.records[static_cast<size_t>(i)];
    if (record.ValueCount() == 0) continue;
    switch (RecordKind(section, i, kButtonLayoutSchema)) {
      case 0:
        layout.bitmapName = First(record).text;
        layout.frames = record.ValueCount() >= 2 ? Value(record, 1).integer : 1;
        // A picture has at least one frame; fewer would leave no frame to show.
        if (layout.frames < 1) layout.frames = 1;
        break;
      case 1:
        ReadRect(record, layout.x, layout.y, layout.w, layout.h);
        break;
      default:
        break;
    }
  }
  for (int c = 0; c < section.ChildCount(); ++c) {
    if (SectionKind(section, c, "cell") != 0) continue;
    if (static_cast<int>(layout.cells.size()) >= kMaxCells) break;
    const TextSection& cellSection = *section.children[static_cast<size_t>(c)];
    CellLayout cell;
    cell.id = static_cast<uint8_t>(ParseTextInteger(cellSection.argument));
    for (int i = 0; i < cellSection.RecordCount(); ++i) {
      const TextRecord& record = cellSection.records[static_cast<size_t>(i)];
      if (record.ValueCount() == 0) continue;
      switch (RecordKind(cellSection, i, kCellSchema)) {
        case 0:
          ReadRect(record, cell.x, cell.y, cell.w, cell.h);
          break;
        case 1:
          cell.font = First(record).integer;
          break;
        case 2:
          cell.color = static_cast<uint32_t>(First(record).integer);
          break;
        default:
          break;
      }
    }
    layout.cells.push_back(cell);
  }
  layouts_.emplace(layout.number, std::move(layout));
}

void Skin::ReadIcon(const TextSection& section) {
  IconLayout icon;
  for (int i = 0; i < section.RecordCount(); ++i) {
    const TextRecord& record = section.records[static_cast<size_t>(i)];
    if (record.ValueCount() == 0) continue;
    switch (RecordKind(section, i, kIconSchema)) {
      case 0:
        icon.bitmapName = First(record).text;
        break;
      case 1:
        ReadRect(record, icon.x, icon.y, icon.w, icon.h);
        break;
      case 2:
        icon.caption = AnsiToWide(First(record).text);
        break;
      default:
        break;
    }
  }
  // An icon without a caption stands for the empty caption, which is never drawn.
  if (FindIcon(icon.caption)) return;  // the first of a caption wins
  icons_.push_back(std::move(icon));
}

const ButtonLayout* Skin::FindButtonLayout(int number) const {
  const auto it = layouts_.find(number);
  return it == layouts_.end() ? nullptr : &it->second;
}

const IconLayout* Skin::FindIcon(WideView caption) const {
  for (const IconLayout& icon : icons_) {
    if (icon.caption == caption) return &icon;
  }
  return nullptr;
}

SkinBitmap Skin::LoadBitmap(const std::string& name, bool tint, int tintW, int tintH) {
  if (const auto it = cache_.find(name); it != cache_.end()) return it->second;
  SkinBitmap bitmap = nullptr;
  if (IsBuiltInBitmapName(name)) {
    bitmap = factory_->BuiltIn(name);
  } else {
    const std::string path = folder_ + name;
    if (FILE* file = OpenDataFile(path, "rb")) {
      // A picture file is read whole, up to a bound no key picture comes near: a name that
      // leads to something endless (a device, a growing file) stops there and is refused.
      constexpr size_t kMaxBitmapFileBytes = 32u << 20;
      std::string bytes;
      char buffer[65536];
      size_t n;
      while (bytes.size() <= kMaxBitmapFileBytes &&
             (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, n);
      }
      std::fclose(file);
      if (bytes.size() > kMaxBitmapFileBytes) bytes.clear();
      BmpImage image;
      if (ParseBmp(bytes, image)) bitmap = factory_->FromBmp(image);
      // A file that is there but is no picture this system can read is reported like a missing
      // one: the user sees which file to mend.
      if (!bitmap) ShowMessage(AnsiToWide(path), u"Can't load bitmap");
    } else {
      ShowMessage(AnsiToWide(path), u"Can't load bitmap");
    }
  }
  if (bitmap && tint && tintW >= 1 && tintH >= 1) bitmap = factory_->Tint(bitmap, tintW, tintH);
  cache_.emplace(name, bitmap);  // also when empty: one message per name and skin
  return bitmap;
}

void Skin::LoadBitmaps(BitmapFactory& factory, bool tint) {
  FreeBitmaps();
  factory_ = &factory;
  tinted_ = tint;
  for (auto& [number, layout] : layouts_) {
    if (layout.bitmapName.empty()) continue;
    // The tint covers every frame of both rows; the product is kept within int.
    const int64_t w = static_cast<int64_t>(layout.frames) * layout.w;
    const int64_t h = static_cast<int64_t>(2) * layout.h;
    const int tw = static_cast<int>(std::clamp<int64_t>(w, 0, kMaxBmpSide));
    const int th = static_cast<int>(std::clamp<int64_t>(h, 0, kMaxBmpSide));
    layout.bitmap = LoadBitmap(layout.bitmapName, tint, tw, th);
  }
  for (IconLayout& icon : icons_) {
    if (icon.bitmapName.empty()) continue;
    icon.bitmap = LoadBitmap(icon.bitmapName, false, 0, 0);
  }
}

// ---- Placement ----

PixelRect ButtonPixelRect(const Button& button, int panelWidth, int panelHeight, int originX,
                          int originY) {
  PixelRect r;
  const int64_t left = static_cast<int64_t>(TruncToInt(button.x * panelWidth + 0.5)) + originX;
  const int64_t top = static_cast<int64_t>(TruncToInt(button.y * panelHeight + 0.5)) + originY;
  r.left = static_cast<int32_t>(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX));
  r.top = static_cast<int32_t>(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX));
  r.width = TruncToInt(static_cast<double>(button.w * static_cast<float>(panelWidth)));
  r.height = TruncToInt(static_cast<double>(button.h * static_cast<float>(panelHeight)));
  return r;
}

// ---- Layouts ----

const TextSection& FindLayoutSection(const TextSection& root, const std::string& layoutName) {
  for (const auto& child : root.children) {
    if (child->argument == layoutName) return *child;
  }
  return root;
}

void Panel::Place(Button& button, float designX, float designY) const {
  // A design size below 1 is raised to 1 only after the whole layout is read; buttons read while
  // one is in force are placed as if it were 1 already, never divided by zero or a negative size.
  const float sx = static_cast<float>(std::max(defaultSx_, 1));
  const float sy = static_cast<float>(std::max(defaultSy_, 1));
  button.x = designX / sx;
  button.y = designY / sy;
  const ButtonLayout* layout = skin_ ? skin_->FindButtonLayout(button.layout) : nullptr;
  if (layout) {
    button.w = static_cast<float>(layout->w) / sx;
    button.h = static_cast<float>(layout->h) / sy;
  }
}

void Panel::ReadButtonRecord(const TextRecord& record) {
  auto button = std::make_unique<Button>();
  button->skin = skin_;
  button->id = static_cast<uint16_t>(Value(record, 0).integer);
  button->event0 = static_cast<int16_t>(Value(record, 0).integer);
  button->layout = static_cast<int16_t>(Value(record, 1).integer);
  if (record.ValueCount() == 5) button->toggle = Value(record, 4).truth;
  Place(*button, Value(record, 2).real, Value(record, 3).real);
  buttons_.push_back(std::move(button));
}

void Panel::ReadButtonSection(const TextSection& section) {
  auto button = std::make_unique<Button>();
  button->skin = skin_;
  const int id =
      section.argument.empty() ? NextAutomaticButtonId() : ParseTextInteger(section.argument);
  button->id = static_cast<uint16_t>(id);
  float px = 0, py = 0;
  for (int i = 0; i < section.RecordCount(); ++i) {
    const TextRecord& record = section.records[static_cast<size_t>(i)];
    if (record.ValueCount() == 0) continue;
    switch (RecordKind(section, i, kButtonSchema)) {
      case 0:
        px = Value(record, 0).real, py = Value(record, 1).real;
        break;
      case 1:
        button->layout = static_cast<int16_t>(First(record).integer);
        break;
      case 2:
        button->toggle = First(record).truth;
        break;
      case 3:
        button->event0 = static_cast<int16_t>(First(record).integer);
        break;
      case 4:
        button->event1 = static_cast<int16_t>(First(record).integer);
        break;
      case 5: {
        const uint8_t cell = static_cast<uint8_t>(Value(record, 0).integer);
        // The first caption of a cell wins.
        button->captions.emplace(cell, AnsiToWide(Value(record, 1).text));
        break;
      }
      default:
        break;
    }
  }
  Place(*button, px, py);
  buttons_.push_back(std::move(button));
}

void Panel::LoadLayout(const std::string& panelPath, const std::string& layoutName) {
  if (!skin_) return;
  LoadLayout(ReadTextFile(panelPath), layoutName);
}

void Panel::LoadLayout(const TextSection& root, const std::string& layoutName) {
  if (!skin_) return;
  width_ = 0;
  height_ = 0;
  defaultSx_ = 240;
  defaultSy_ = 80;
  const TextSection& layout = FindLayoutSection(root, layoutName);
  for (int i = 0; i < layout.RecordCount(); ++i) {
    const TextRecord& record = layout.records[static_cast<size_t>(i)];
    switch (RecordKind(layout, i, kLayoutSchema)) {
      case 0:
        defaultSx_ = DesignSize(First(record));
        break;
      case 1:
        defaultSy_ = DesignSize(First(record));
        break;
      case 2:
      case 3:
        ReadButtonRecord(record);
        break;
      default:
        break;
    }
  }
  for (int c = 0; c < layout.ChildCount(); ++c) {
    if (SectionKind(layout, c, "button") == 0) {
      ReadButtonSection(*layout.children[static_cast<size_t>(c)]);
    }
  }
  defaultSx_ = std::max(defaultSx_, 1);
  defaultSy_ = std::max(defaultSy_, 1);
}

Button* Panel::FindButton(int id) {
  for (auto& button : buttons_) {
    if (button->id == id) return button.get();
  }
  return nullptr;
}

const Button* Panel::FindButton(int id) const { return const_cast<Panel*>(this)->FindButton(id); }

void Panel::SetCaption(int id, int cell, WideView text) {
  if (Button* button = FindButton(id)) {
    button->captions[static_cast<uint8_t>(cell)] = WideString(text);
  }
}

void Panel::ClearCaptions() {
  for (auto& button : buttons_) button->captions[0].clear();
}

void Panel::FreeButtons() {
  buttons_.clear();
  lastDrawn_.clear();
}

// ---- Panel height ----

int PanelHeightOf(const TextSection& root, const std::string& layoutName, int width) {
  const TextSection& layout = FindLayoutSection(root, layoutName);
  int32_t sx = 240, sy = 80;
  for (const TextRecord& record : layout.records) {
    if (record.ValueCount() == 0) continue;  // nothing to read
    if (record.key == "default_sx") sx = First(record).integer;
    if (record.key == "default_sy") sy = First(record).integer;
  }
  // The layout raises a design size below 1 to 1; the height follows it, so that a damaged file
  // can never divide by zero or give a negative height.
  sx = std::max(sx, 1);
  sy = std::max(sy, 1);
  const double height = static_cast<double>(width) * sy / sx + 0.5;
  return std::max(TruncToInt(height), 0);
}

int PanelHeight(const std::string& panelPath, const std::string& layoutName, int width) {
  return PanelHeightOf(ReadTextFile(panelPath), layoutName, width);
}

}  // namespace tessaline
