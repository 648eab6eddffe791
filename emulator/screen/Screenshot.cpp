#include "screen/Screenshot.h"

#include <cstdio>
#include <vector>

#include "png/WicPng.h"
#include "screen/DeviceLayout.h"
#include "win32/Handles.h"

namespace tessaline::emulator {
namespace {

bool IsOurs(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

}  // namespace

std::string CaptureDevice(HWND device, HWND skip) {
  win32::WindowDc screen(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kScreenWidth;
  info.bmiHeader.biHeight = -kScreenHeight;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win32::Bitmap surface(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win32::MemoryDc memory(screen.Get());
  if (!surface || !memory || !bits) return {};
  {
    win32::SelectScope select(memory.Get(), surface.Get());
    POINT origin{0, 0};
    ClientToScreen(device, &origin);
    // Every window repaints what is pending before it is copied.
    RedrawWindow(device, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    {
      win32::WindowDc deviceDc(device);
      BitBlt(memory.Get(), 0, 0, kScreenWidth, kScreenHeight, deviceDc.Get(), 0, 0, SRCCOPY);
    }
    // The windows above the device, collected topmost first and drawn bottom first.
    std::vector<HWND> above;
    for (HWND window = GetTopWindow(nullptr); window && window != device;
         window = GetWindow(window, GW_HWNDNEXT)) {
      if (window != skip && IsWindowVisible(window) && IsOurs(window)) above.push_back(window);
    }
    const RECT screenRect{origin.x, origin.y, origin.x + kScreenWidth, origin.y + kScreenHeight};
    for (auto it = above.rbegin(); it != above.rend(); ++it) {
      RECT rect, overlap;
      if (!GetWindowRect(*it, &rect) || !IntersectRect(&overlap, &rect, &screenRect)) continue;
      RedrawWindow(*it, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
      const win32::WindowDc dc(*it, win32::WindowDc::Area::kWholeWindow);
      BitBlt(memory.Get(), rect.left - origin.x, rect.top - origin.y, rect.right - rect.left,
             rect.bottom - rect.top, dc.Get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
  }
  std::string rgb(size_t(kScreenWidth) * kScreenHeight * 3, '\0');
  const auto* pixels = static_cast<const BYTE*>(bits);
  for (size_t i = 0; i < size_t(kScreenWidth) * kScreenHeight; ++i) {
    rgb[i * 3] = static_cast<char>(pixels[i * 4 + 2]);
    rgb[i * 3 + 1] = static_cast<char>(pixels[i * 4 + 1]);
    rgb[i * 3 + 2] = static_cast<char>(pixels[i * 4]);
  }
  return rgb;
}

bool WriteScreenshot(const std::string& rgb, const std::wstring& path) {
  const std::string png = png::EncodeRgb(kScreenWidth, kScreenHeight, rgb);
  if (png.empty()) return false;
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace tessaline::emulator
