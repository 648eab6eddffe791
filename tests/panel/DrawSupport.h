// Helpers of the drawing tests: a 24-bit canvas to draw into and read pixels from, and host paths
// of the source tree under Wine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace tessaline::testing {

class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = 0) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    Fill(fill);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  size_t Stride() const { return (static_cast<size_t>(width_) * 3 + 3) & ~size_t{3}; }

  void Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT r{0, 0, width_, height_};
    FillRect(dc_, &r, brush);
    DeleteObject(brush);
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
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint8_t* bits_ = nullptr;
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
