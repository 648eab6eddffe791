// Small owning types for Win32 handles, so that an early return or a failed call never leaks a
// handle and no code pairs a release with its acquisition by hand.
//
// One move-only owner, UniqueHandle, serves every handle that one call releases; each kind of
// handle is a traits class that names the handle type, says which values count as none and
// releases a handle: GDI objects, memory DCs, icons, image lists, windows, registry keys, kernel
// handles, libraries, file searches, mapped views, BSTRs and memory from CoTaskMemAlloc. A few
// kinds add their own acquiring calls (a memory DC compatible with another, a registry key by
// path, a BSTR copied from text, a library's procedures).
//
// Releases that need a second value or restore state have their own scope types: a window's DC
// (GetDC and ReleaseDC name the window), a selected object (the old one is put back),
// BeginPaint/EndPaint, a back buffer, and a started process's two handles.
#pragma once

#include <windows.h>
// The common controls' and OLE automation headers need the Windows header before them.
#include <commctrl.h>
#include <oleauto.h>

#include <optional>
#include <string_view>
#include <utility>

namespace tessaline::win32 {

// Owns one handle of the kind that Traits describes:
//   using Handle = ...;              the handle type
//   static Handle None();            the value an empty owner holds
//   static bool Valid(Handle);       whether a value is a handle to release
//   static void Free(Handle);        releases a valid handle
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return Traits::Valid(handle_); }
  // Gives the handle up without releasing it.
  Handle Release() { return std::exchange(handle_, Traits::None()); }
  // Releases the handle held (if any) and takes that one.
  void Reset(Handle handle = Traits::None()) {
    const Handle old = std::exchange(handle_, handle);
    if (Traits::Valid(old) && old != handle) Traits::Free(old);
  }
  // Releases the handle held and answers where a call that makes a handle writes the new one.
  Handle* Put() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::None();
};

// The traits of a handle that is null when there is none and that one call releases.
template <typename H, void (*Release)(H)>
struct NullableTraits {
  using Handle = H;
  static Handle None() { return nullptr; }
  static bool Valid(Handle handle) { return handle != nullptr; }
  static void Free(Handle handle) { Release(handle); }
};

// The releasing calls, each as a function of the handle alone.
namespace release {
template <typename H>
inline void DeleteGdiObject(H object) { DeleteObject(object); }
inline void DeleteCreatedDc(HDC dc) { DeleteDC(dc); }
inline void DestroyIconOf(HICON icon) { DestroyIcon(icon); }
inline void DestroyImageList(HIMAGELIST list) { ImageList_Destroy(list); }
inline void UnmapView(void* view) { UnmapViewOfFile(view); }
template <typename T>
inline void FreeCoTaskMemory(T* memory) { CoTaskMemFree(memory); }
template <typename T>
inline void FreeLocalMemory(T* memory) { LocalFree(memory); }
inline void DestroyWindowOf(HWND window) {
  if (IsWindow(window)) DestroyWindow(window);
}
inline void CloseKey(HKEY key) { RegCloseKey(key); }
inline void FreeLibraryOf(HMODULE module) { FreeLibrary(module); }
inline void FreeString(BSTR text) { SysFreeString(text); }
}  // namespace release

// A GDI object (HBITMAP, HFONT, HBRUSH, HPEN, HRGN) deleted when the owner goes.
template <typename H>
using GdiObject = UniqueHandle<NullableTraits<H, release::DeleteGdiObject<H>>>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;

// An icon from CreateIconIndirect or a copy of one, destroyed when the owner goes.
using Icon = UniqueHandle<NullableTraits<HICON, release::DestroyIconOf>>;
// An image list, destroyed when the owner goes.
using ImageList = UniqueHandle<NullableTraits<HIMAGELIST, release::DestroyImageList>>;
// A view of a file mapping, unmapped when the owner goes.
using MappedView = UniqueHandle<NullableTraits<void*, release::UnmapView>>;
// Memory that a COM call allocated with CoTaskMemAlloc (a string from StringFromCLSID).
template <typename T>
using CoTaskMemory = UniqueHandle<NullableTraits<T*, release::FreeCoTaskMemory<T>>>;
// Memory that a call allocated with LocalAlloc for its caller (the array of CommandLineToArgvW).
template <typename T>
using LocalMemory = UniqueHandle<NullableTraits<T*, release::FreeLocalMemory<T>>>;

// A device context that CreateDCW or CreateCompatibleDC made, deleted when the owner goes.
using CreatedDc = UniqueHandle<NullableTraits<HDC, release::DeleteCreatedDc>>;

// A memory device context, deleted when the owner goes.
class MemoryDc : public CreatedDc {
 public:
  MemoryDc() = default;
  // A DC compatible with that one (null: the screen).
  explicit MemoryDc(HDC compatibleWith) : CreatedDc(CreateCompatibleDC(compatibleWith)) {}
};

// A window destroyed when the owner goes (unless it is already gone).
using Window = UniqueHandle<NullableTraits<HWND, release::DestroyWindowOf>>;

// An open registry key, closed when the owner goes.
class RegKey : public UniqueHandle<NullableTraits<HKEY, release::CloseKey>> {
 public:
  // RegOpenKeyExW; the status of the call.
  LONG Open(HKEY root, const wchar_t* subKey, REGSAM access) {
    return RegOpenKeyExW(root, subKey, 0, access, Put());
  }
  // RegCreateKeyExW; the status of the call.
  LONG Create(HKEY root, const wchar_t* subKey, REGSAM access = KEY_ALL_ACCESS) {
    return RegCreateKeyExW(root, subKey, 0, nullptr, 0, access, nullptr, Put(), nullptr);
  }
  void Close() { Reset(); }
};

// A kernel object's handle (a process, a file, an event, a mutex), closed when the owner goes.
// Both null and INVALID_HANDLE_VALUE count as none, since CreateFileW answers with the latter.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle None() { return nullptr; }
  static bool Valid(Handle handle) { return handle && handle != INVALID_HANDLE_VALUE; }
  static void Free(Handle handle) { CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// A search from FindFirstFileW, closed when the owner goes.
struct FindFileTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Handle handle) { return handle && handle != INVALID_HANDLE_VALUE; }
  static void Free(Handle handle) { FindClose(handle); }
};
using FindFile = UniqueHandle<FindFileTraits>;

// A loaded library, freed when the owner goes.
class Library : public UniqueHandle<NullableTraits<HMODULE, release::FreeLibraryOf>> {
 public:
  using UniqueHandle::UniqueHandle;
  // The exported procedure of that name as the wanted pointer type; null when it is missing.
  template <typename Procedure>
  Procedure Find(const char* name) const {
    if (!Get()) return nullptr;
    return reinterpret_cast<Procedure>(reinterpret_cast<void*>(GetProcAddress(Get(), name)));
  }
};

// A BSTR, freed when the owner goes.
class Bstr : public UniqueHandle<NullableTraits<BSTR, release::FreeString>> {
 public:
  Bstr() = default;
  // A copy of that text (empty when the memory ran out).
  explicit Bstr(std::wstring_view text)
      : UniqueHandle(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  UINT Length() const { return SysStringLen(Get()); }
};

// A started process's handles from CreateProcessW, both closed when the owner goes.
class Process {
 public:
  Process() = default;
  explicit Process(const PROCESS_INFORMATION& started)
      : process_(started.hProcess), thread_(started.hThread), id_(started.dwProcessId) {}
  Process(Process&&) noexcept = default;
  Process& operator=(Process&&) noexcept = default;

  HANDLE Get() const { return process_.Get(); }
  HANDLE Thread() const { return thread_.Get(); }
  DWORD Id() const { return id_; }
  explicit operator bool() const { return static_cast<bool>(process_); }
  // Closes the thread's handle, for a caller that only waits for the process.
  void CloseThread() { thread_.Reset(); }

 private:
  KernelHandle process_;
  KernelHandle thread_;
  DWORD id_ = 0;
};

// A window's DC from GetDC (the window null: the screen's), or from GetWindowDC for the whole
// window with its frame, released when the owner goes.
class WindowDc {
 public:
  enum class Area { kClient, kWholeWindow };
  explicit WindowDc(HWND window, Area area = Area::kClient)
      : window_(window), dc_(area == Area::kClient ? GetDC(window) : GetWindowDC(window)) {}
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

// Puts back, when the scope ends, the object of that kind (OBJ_FONT, OBJ_BRUSH, ...) that the DC
// had when it began, whatever the scope selected into it meanwhile.
class SelectionRestore {
 public:
  SelectionRestore(HDC dc, UINT kind) : dc_(dc), old_(GetCurrentObject(dc, kind)) {}
  ~SelectionRestore() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectionRestore(const SelectionRestore&) = delete;
  SelectionRestore& operator=(const SelectionRestore&) = delete;
  HGDIOBJ Old() const { return old_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
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
    {
      std::optional<WindowDc> screen;
      if (!compatibleWith) screen.emplace(nullptr);
      HDC like = compatibleWith ? compatibleWith : screen->Get();
      dc_ = MemoryDc(like);
      bitmap_.Reset(CreateCompatibleBitmap(like, width, height));
    }
    if (!dc_ || !bitmap_) {
      Reset();
      return false;
    }
    old_ = SelectObject(dc_.Get(), bitmap_.Get());
    width_ = width;
    height_ = height;
    return true;
  }
  void Reset() {
    if (dc_ && old_) SelectObject(dc_.Get(), old_);
    dc_.Reset();
    bitmap_.Reset();
    old_ = nullptr;
    width_ = height_ = 0;
  }
  HDC Dc() const { return dc_.Get(); }
  explicit operator bool() const { return static_cast<bool>(dc_); }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  MemoryDc dc_;
  Bitmap bitmap_;
  HGDIOBJ old_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace tessaline::win32
