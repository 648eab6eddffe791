// Small owning types for Win32 handles, each written once, so that an early return or a failed
// call never leaks a handle: a GDI object that deletes itself, a memory DC, a scope that selects
// an object into a DC and puts the old one back, a window that destroys itself, a registry key
// that closes itself, a kernel handle that closes itself, a library that frees itself.
#pragma once

#include <windows.h>

#include <utility>

namespace tessaline::win32 {

// A GDI object (HBITMAP, HFONT, HBRUSH, HPEN, HRGN) deleted when the owner goes.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;

// A memory device context compatible with another (or with the screen), deleted when it goes.
class MemoryDc {
 public:
  MemoryDc() = default;
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() { Reset(); }
  MemoryDc(MemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  MemoryDc& operator=(MemoryDc&& other) noexcept {
    if (this != &other) {
      Reset();
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void Reset() {
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
};

// Selects an object into a DC for the life of the scope and puts the previous one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC with a bitmap of its own selected into it, kept for the life of a window: a window
// that paints through it often does not make a DC and a bitmap for every paint (under Wine each
// asks the display driver again). Made anew only when the size changes.
class BackBuffer {
 public:
  BackBuffer() = default;
  ~BackBuffer() { Reset(); }
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;

  // A buffer of that size compatible with that DC (null: the screen), unless it is that size
  // already. False when it could not be made (it is then empty).
  bool Ensure(HDC compatibleWith, int width, int height) {
    if (dc_ && width == width_ && height == height_) return true;
    Reset();
    if (width < 1 || height < 1) return false;
    HDC screen = compatibleWith ? compatibleWith : GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    if (!compatibleWith) ReleaseDC(nullptr, screen);
    if (!dc_ || !bitmap_) {
      Reset();
      return false;
    }
    old_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    return true;
  }
  void Reset() {
    if (dc_ && old_) SelectObject(dc_, old_);
    if (dc_) DeleteDC(dc_);
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    old_ = nullptr;
    width_ = height_ = 0;
  }
  HDC Dc() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A window's DC from GetDC, released when the scope ends.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint around a WM_PAINT handler.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Get() const { return dc_; }
  const PAINTSTRUCT& Paint() const { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// A window destroyed when the owner goes (unless it is already gone).
class Window {
 public:
  Window() = default;
  explicit Window(HWND window) : window_(window) {}
  ~Window() { Reset(); }
  Window(Window&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
  Window& operator=(Window&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.window_, nullptr));
    return *this;
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Get() const { return window_; }
  explicit operator bool() const { return window_ != nullptr; }
  HWND Release() { return std::exchange(window_, nullptr); }
  void Reset(HWND window = nullptr) {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    window_ = window;
  }

 private:
  HWND window_ = nullptr;
};

// An open registry key, closed when the owner goes.
class RegKey {
 public:
  RegKey() = default;
  ~RegKey() { Close(); }
  RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  // RegOpenKeyExW; the status of the call.
  LONG Open(HKEY root, const wchar_t* subKey, REGSAM access) {
    Close();
    return RegOpenKeyExW(root, subKey, 0, access, &key_);
  }
  // RegCreateKeyExW; the status of the call.
  LONG Create(HKEY root, const wchar_t* subKey, REGSAM access = KEY_ALL_ACCESS) {
    Close();
    return RegCreateKeyExW(root, subKey, 0, nullptr, 0, access, nullptr, &key_, nullptr);
  }
  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// A kernel object's handle (a process, a file, an event), closed when the owner goes. Both null
// and INVALID_HANDLE_VALUE count as none, since CreateFileW answers with the latter.
class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE handle) : handle_(handle) {}
  ~KernelHandle() { Reset(); }
  KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  KernelHandle& operator=(KernelHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;

  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle = nullptr) {
    if (*this) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// A loaded library, freed when the owner goes.
class Library {
 public:
  Library() = default;
  explicit Library(HMODULE module) : module_(module) {}
  ~Library() { Reset(); }
  Library(Library&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
  Library& operator=(Library&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.module_, nullptr));
    return *this;
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  HMODULE Get() const { return module_; }
  explicit operator bool() const { return module_ != nullptr; }
  void Reset(HMODULE module = nullptr) {
    if (module_) FreeLibrary(module_);
    module_ = module;
  }
  // The exported procedure of that name as the wanted pointer type; null when it is missing.
  template <typename Procedure>
  Procedure Find(const char* name) const {
    if (!module_) return nullptr;
    return reinterpret_cast<Procedure>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_ = nullptr;
};

}  // namespace tessaline::win32
