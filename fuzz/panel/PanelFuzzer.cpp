// Arbitrary bytes as a panel file: reading the skin and every layout, placing, measuring the
// panel height, pressing buttons and loading pictures must neither crash nor overrun.
#include <cstdint>
#include <cstdio>

#include "panel/BmpFile.h"
#include "panel/PanelFile.h"
#include "system/Messages.h"
#include "textfile/TextFile.h"

namespace {

// Pictures that are only counted; files are looked for in a folder that does not exist, so
// names in the input never reach real files.
class CountingFactory : public tessaline::BitmapFactory {
 public:
  tessaline::SkinBitmap BuiltIn(const std::string&) override { return New(); }
  tessaline::SkinBitmap FromBmp(const tessaline::BmpImage&) override { return New(); }
  tessaline::SkinBitmap Tint(tessaline::SkinBitmap bitmap, int w, int h) override {
    if (w < 1 || h < 1 || w > tessaline::kMaxBmpSide || h > tessaline::kMaxBmpSide)
      __builtin_trap();
    Free(bitmap);
    return New();
  }
  void Free(tessaline::SkinBitmap bitmap) override { delete static_cast<int*>(bitmap); }
  static tessaline::SkinBitmap New() { return new int(0); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool quiet = [] {
    tessaline::SetMessageHandler([](const tessaline::MessageCall&) { return 1; });
    return true;
  }();
  (void)quiet;
  FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!stream) return 0;
  tessaline::TextSection root;
  tessaline::ReadSection(stream, root);
  std::fclose(stream);

  CountingFactory factory;
  tessaline::Skin skin;
  skin.Read(root, "\\no-such-folder-for-fuzzing\\panel.pan");
  skin.LoadBitmaps(factory, true);

  std::vector<std::string> names = {"main", "symbols", "qwerty", "words", "userpad", "popup"};
  for (const auto& child : root.children) {
    if (names.size() >= 10) break;
    if (child->name == "layout") names.push_back(child->argument);
  }
  for (const std::string& name : names) {
    tessaline::Panel panel;
    panel.SetSkin(&skin);
    panel.LoadLayout(root, name);
    tessaline::PanelHeightOf(root, name, 240);
    panel.SetSize(240, tessaline::PanelHeightOf(root, name, 240));
    for (const auto& b : panel.Buttons()) tessaline::ButtonPixelRect(*b, 240, 80, 0, 0);
    panel.PenDown(60, 20);
    panel.PenUp(61, 22, true);
    panel.PenDown(-5, 1000);
    panel.PenUp(200, 10, true);
    panel.PressedButtonId();
    panel.SetCaption(1, 0, u"x");
    panel.ClearCaptions();
  }
  return 0;
}
