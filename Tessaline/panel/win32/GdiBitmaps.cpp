// GDI pictures for skins: built-in resources, BMP files and tinted copies.
#include <algorithm>
#include <cstring>

#include "panel/BmpFile.h"
#include "panel/Tint.h"
#include "panel/win32/PanelDraw.h"
#include "textfile/TextFile.h"
#include "win32/Handles.h"

namespace tessaline {
namespace {

HMODULE g_bitmapModule = nullptr;
std::optional<COLORREF> g_themeOverride;

class GdiFactory : public BitmapFactory {
 public:
  SkinBitmap BuiltIn(const std::string& name) override {
    const std::wstring wide(name.begin(), name.end());  // the built-in names are ASCII
    return LoadImageW(BitmapModule(), wide.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  }

  SkinBitmap FromBmp(const BmpImage& image) override {
    void* bits = nullptr;
    win32::Bitmap bitmap(
        CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(image.info.data()),
                         DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return nullptr;
    GdiFlush();
    std::memcpy(bits, image.pixels.data(), image.pixels.size());
    return bitmap.Release();
  }

  SkinBitmap Tint(SkinBitmap bitmap, int w, int h) override {
    return TintBitmap(static_cast<HBITMAP>(bitmap), w, h);
  }

  // The skin hands a picture back: its owner here deletes it.
  void Free(SkinBitmap bitmap) override { const win32::Bitmap freed(static_cast<HBITMAP>(bitmap)); }
};

}  // namespace

void SetBitmapModule(HMODULE module) { g_bitmapModule = module; }

HMODULE BitmapModule() { return g_bitmapModule ? g_bitmapModule : GetModuleHandleW(nullptr); }

BitmapFactory& GdiBitmapFactory() {
  static GdiFactory factory;
  return factory;
}

void LoadSkin(Skin& skin, const std::string& panelPath, bool tint) {
  LoadSkin(skin, ReadTextFile(panelPath), panelPath, tint);
}

void LoadSkin(Skin& skin, const TextSection& root, const std::string& panelPath, bool tint) {
  skin.Read(root, panelPath);
  skin.LoadBitmaps(GdiBitmapFactory(), tint);
}

void SetThemeColorOverride(std::optional<COLORREF> color) { g_themeOverride = color; }

COLORREF ThemeColor() { return g_themeOverride ? *g_themeOverride : GetSysColor(COLOR_BTNFACE); }

HBITMAP TintBitmap(HBITMAP bitmap, int w, int h) {
  if (!bitmap) return nullptr;
  if (w < 1 || h < 1) return bitmap;
  // An area larger than the picture itself is cut to it: the rest would only be black, and a
  // damaged panel file must not make the tint allocate far more than the picture holds.
  BITMAP source{};
  if (GetObjectW(bitmap, sizeof source, &source) == sizeof source) {
    w = std::min(w, static_cast<int>(source.bmWidth));
    h = std::min(h, static_cast<int>(source.bmHeight));
    if (w < 1 || h < 1) return bitmap;
  }
  const int wide = TintedWidth(w);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = wide;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(h) * static_cast<DWORD>(wide) * 3;
  void* bits = nullptr;
  win32::Bitmap tinted(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  // Without memory for the copy the picture stays as it is, untinted.
  if (!tinted || !bits) return bitmap;
  // The copy replaces the picture, which goes once it has been copied.
  const win32::Bitmap original(bitmap);
  {
    const win32::WindowDc screen(nullptr);
    const win32::MemoryDc from(screen.Get());
    const win32::MemoryDc to(screen.Get());
    const win32::SelectScope selectFrom(from.Get(), original.Get());
    const win32::SelectScope selectTo(to.Get(), tinted.Get());
    BitBlt(to.Get(), 0, 0, wide, h, from.Get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  TintPixels24(static_cast<uint8_t*>(bits), static_cast<size_t>(h) * static_cast<size_t>(wide),
               ThemeColor());
  return tinted.Release();
}

COLORREF SkinColor(const Skin& skin, int index) {
  COLORREF color = index == 0 ? skin.BackColor() : index == 1 ? skin.TextColor() : 0;
  if (index != 0 && index != 1) return 0;
  if (skin.Tinted()) color = TintColor(color, ThemeColor());
  return color;
}

}  // namespace tessaline
