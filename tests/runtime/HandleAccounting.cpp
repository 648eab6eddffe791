#include "HandleAccounting.h"

#include <cstring>
#include <unordered_set>

namespace tessaline::testing {
namespace {

// Single-threaded like the window code it watches.
std::unordered_set<void*> g_objects;
std::unordered_set<void*> g_memoryDcs;
long g_windowDcs = 0;

void Add(std::unordered_set<void*>& set, void* handle) {
  if (handle) set.insert(handle);
}

// Each redirected import: its real address (kept from the import table) and a hook that calls
// it and keeps the account.
#define REAL(name) static decltype(&name) real##name
REAL(CreateSolidBrush);
REAL(CreatePen);
REAL(CreateFontIndirectW);
REAL(CreateCompatibleBitmap);
REAL(CreateDIBSection);
REAL(LoadImageW);
REAL(DeleteObject);
REAL(CreateCompatibleDC);
REAL(CreateDCW);
REAL(DeleteDC);
REAL(GetDC);
REAL(GetWindowDC);
REAL(ReleaseDC);
REAL(BeginPaint);
REAL(EndPaint);
#undef REAL

HBRUSH WINAPI HookCreateSolidBrush(COLORREF c) {
  HBRUSH h = realCreateSolidBrush(c);
  Add(g_objects, h);
  return h;
}
HPEN WINAPI HookCreatePen(int style, int width, COLORREF c) {
  HPEN h = realCreatePen(style, width, c);
  Add(g_objects, h);
  return h;
}
HFONT WINAPI HookCreateFontIndirectW(const LOGFONTW* font) {
  HFONT h = realCreateFontIndirectW(font);
  Add(g_objects, h);
  return h;
}
HBITMAP WINAPI HookCreateCompatibleBitmap(HDC dc, int w, int h) {
  HBITMAP b = realCreateCompatibleBitmap(dc, w, h);
  Add(g_objects, b);
  return b;
}
HBITMAP WINAPI HookCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                    HANDLE section, DWORD offset) {
  HBITMAP b = realCreateDIBSection(dc, info, usage, bits, section, offset);
  Add(g_objects, b);
  return b;
}
HANDLE WINAPI HookLoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy,
                             UINT flags) {
  HANDLE image = realLoadImageW(module, name, type, cx, cy, flags);
  if (type == IMAGE_BITMAP) Add(g_objects, image);
  return image;
}
BOOL WINAPI HookDeleteObject(HGDIOBJ object) {
  const BOOL deleted = realDeleteObject(object);
  if (deleted) g_objects.erase(object);
  return deleted;
}
HDC WINAPI HookCreateCompatibleDC(HDC dc) {
  HDC memory = realCreateCompatibleDC(dc);
  Add(g_memoryDcs, memory);
  return memory;
}
HDC WINAPI HookCreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR port, const DEVMODEW* mode) {
  HDC dc = realCreateDCW(driver, device, port, mode);
  Add(g_memoryDcs, dc);
  return dc;
}
BOOL WINAPI HookDeleteDC(HDC dc) {
  const BOOL deleted = realDeleteDC(dc);
  if (deleted) g_memoryDcs.erase(dc);
  return deleted;
}
HDC WINAPI HookGetDC(HWND window) {
  HDC dc = realGetDC(window);
  if (dc) ++g_windowDcs;
  return dc;
}
HDC WINAPI HookGetWindowDC(HWND window) {
  HDC dc = realGetWindowDC(window);
  if (dc) ++g_windowDcs;
  return dc;
}
int WINAPI HookReleaseDC(HWND window, HDC dc) {
  const int released = realReleaseDC(window, dc);
  if (released) --g_windowDcs;
  return released;
}
HDC WINAPI HookBeginPaint(HWND window, PAINTSTRUCT* paint) {
  HDC dc = realBeginPaint(window, paint);
  if (dc) ++g_windowDcs;
  return dc;
}
BOOL WINAPI HookEndPaint(HWND window, const PAINTSTRUCT* paint) {
  --g_windowDcs;
  return realEndPaint(window, paint);
}

struct Redirect {
  const char* name;
  void* hook;
  void** real;
};
#define REDIRECT(name) \
  { #name, reinterpret_cast < void*>(&Hook##name), reinterpret_cast < void**>(&real##name) }
const Redirect kRedirects[] = {REDIRECT(CreateSolidBrush),
                               REDIRECT(CreatePen),
                               REDIRECT(CreateFontIndirectW),
                               REDIRECT(CreateCompatibleBitmap),
                               REDIRECT(CreateDIBSection),
                               REDIRECT(LoadImageW),
                               REDIRECT(DeleteObject),
                               REDIRECT(CreateCompatibleDC),
                               REDIRECT(CreateDCW),
                               REDIRECT(DeleteDC),
                               REDIRECT(GetDC),
                               REDIRECT(GetWindowDC),
                               REDIRECT(ReleaseDC),
                               REDIRECT(BeginPaint),
                               REDIRECT(EndPaint)};
#undef REDIRECT

// Points each listed import of gdi32.dll and user32.dll at its hook. A listed call the program
// does not import makes no handles in it; false only when an import could not be redirected.
bool RedirectImports() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const DWORD imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  bool redirected = true;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports);
       imports && library->Name; ++library) {
    const char* name = reinterpret_cast<const char*>(base + library->Name);
    if (lstrcmpiA(name, "gdi32.dll") != 0 && lstrcmpiA(name, "user32.dll") != 0) continue;
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    auto* lookup = reinterpret_cast<IMAGE_THUNK_DATA*>(
        base + (library->OriginalFirstThunk ? library->OriginalFirstThunk : library->FirstThunk));
    for (; lookup->u1.AddressOfData; ++lookup, ++slot) {
      if (IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal)) continue;
      const char* import = reinterpret_cast<const char*>(
          reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + lookup->u1.AddressOfData)->Name);
      for (const Redirect& redirect : kRedirects) {
        DWORD old = 0;
        if (std::strcmp(import, redirect.name) != 0) continue;
        if (!VirtualProtect(&slot->u1.Function, sizeof(ULONG_PTR), PAGE_READWRITE, &old)) {
          redirected = false;
          continue;
        }
        *redirect.real = reinterpret_cast<void*>(slot->u1.Function);
        slot->u1.Function = reinterpret_cast<ULONG_PTR>(redirect.hook);
        VirtualProtect(&slot->u1.Function, sizeof(ULONG_PTR), old, &old);
      }
    }
  }
  return redirected;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
  CountWindow(window, count);
  EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

}  // namespace

bool InstallHandleAccounting() {
  // Without its deletions accounted for, the program's objects could not be counted at all.
  static const bool installed =
      RedirectImports() && realDeleteObject != nullptr && realDeleteDC != nullptr;
  return installed;
}

HandleCounts CurrentHandleCounts() {
  HandleCounts counts;
  counts.gdiObjects = static_cast<long>(g_objects.size());
  counts.memoryDcs = static_cast<long>(g_memoryDcs.size());
  counts.windowDcs = g_windowDcs;
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&counts.windows));
  counts.systemGdi = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  counts.systemUser = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  return counts;
}

}  // namespace tessaline::testing
