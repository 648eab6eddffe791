// Helpers of the drawing tests: a 24-bit canvas to draw into and read pixels from, and host paths
// of the source tree under Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "settings/Settings.h"
#include "win32/Handles.h"
namespace tessaline::testing {

class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = 0)
      : width_(width),
        height_(height),
        dc_(nullptr),
        bitmap_(MakeBitmap(dc_.Get(), width, height, bits_)),
        select_(dc_.Get(), bitmap_.Get()) {
    Fill(fill);
  }

  HDC Dc() const { return dc_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  size_t Stride() const { return (static_cast<size_t>(width_) * 3 + 3) & ~size_t{3}; }

  void Fill(COLORREF color) {
    const win32::Brush brush(CreateSolidBrush(color));
    RECT r{0, 0, width_, height_};
    FillRect(dc_.Get(), &r, brush.Get());
  }
  // The pixel as a COLORREF (0x00BBGGRR).
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    const uint8_t* p = bits_ + static_cast<size_t>(y) * Stride() + static_cast<size_t>(x) * 3;
    return RGB(p[2], p[1], p[0]);
  }
  // Rows top first, 3 bytes a pixel in red, green, blue order (for PNG files).
  std::string Rgb() const {
    GdiFlush();
    std::string out;
    for (int y = 0; y < height_; ++y) {
      const uint8_t* row = bits_ + static_cast<size_t>(y) * Stride();
      for (int x = 0; x < width_; ++x) {
        out.push_back(static_cast<char>(row[x * 3 + 2]));
        out.push_back(static_cast<char>(row[x * 3 + 1]));
        out.push_back(static_cast<char>(row[x * 3]));
      }
    }
    return out;
  }

 private:
  // A top-down 24-bit DIB section and where its pixels lie.
  static HBITMAP MakeBitmap(HDC dc, int width, int height, uint8_t*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    return CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr,
                            0);
  }

  int width_, height_;
  uint8_t* bits_ = nullptr;  // before the bitmap, which writes it
  win32::MemoryDc dc_;
  win32::Bitmap bitmap_;
  win32::SelectScope select_;
};

// A path of the build machine as this Windows program sees it (Wine maps "/" to drive Z:).
inline std::string HostToWindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace tessaline::testing
