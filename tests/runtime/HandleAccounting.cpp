#include "HandleAccounting.h"

#include <cstring>
#include <mutex>
#include <unordered_set>

namespace tessaline::testing {
namespace {

std::mutex g_lock;
std::unordered_set<HGDIOBJ> g_objects;
std::unordered_set<HDC> g_memoryDcs;
long g_windowDcs = 0;

template <typename Handle>
Handle Track(Handle handle) {
  if (handle) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_objects.insert(reinterpret_cast<HGDIOBJ>(handle));
  }
  return handle;
}

// The real functions, as the import table held them.
struct Real {
  decltype(&CreateSolidBrush) createSolidBrush;
  decltype(&CreatePen) createPen;
  decltype(&CreateFontIndirectW) createFontIndirectW;
  decltype(&CreateCompatibleBitmap) createCompatibleBitmap;
  decltype(&CreateDIBSection) createDIBSection;
  decltype(&CreateCompatibleDC) createCompatibleDC;
  decltype(&CreateDCW) createDCW;
  decltype(&DeleteObject) deleteObject;
  decltype(&DeleteDC) deleteDC;
  decltype(&LoadImageW) loadImageW;
  decltype(&GetDC) getDC;
  decltype(&ReleaseDC) releaseDC;
  decltype(&BeginPaint) beginPaint;
  decltype(&EndPaint) endPaint;
} real{};

HBRUSH WINAPI HookCreateSolidBrush(COLORREF color) { return Track(real.createSolidBrush(color)); }
HPEN WINAPI HookCreatePen(int style, int width, COLORREF color) {
  return Track(real.createPen(style, width, color));
}
HFONT WINAPI HookCreateFontIndirectW(const LOGFONTW* font) {
  return Track(real.createFontIndirectW(font));
}
HBITMAP WINAPI HookCreateCompatibleBitmap(HDC dc, int width, int height) {
  return Track(real.createCompatibleBitmap(dc, width, height));
}
HBITMAP WINAPI HookCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                    HANDLE section, DWORD offset) {
  return Track(real.createDIBSection(dc, info, usage, bits, section, offset));
}
HANDLE WINAPI HookLoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy,
                             UINT flags) {
  HANDLE image = real.loadImageW(module, name, type, cx, cy, flags);
  return type == IMAGE_BITMAP ? Track(image) : image;
}
BOOL WINAPI HookDeleteObject(HGDIOBJ object) {
  const BOOL deleted = real.deleteObject(object);
  if (deleted) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_objects.erase(object);
  }
  return deleted;
}
HDC WINAPI HookCreateCompatibleDC(HDC dc) {
  HDC memory = real.createCompatibleDC(dc);
  if (memory) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_memoryDcs.insert(memory);
  }
  return memory;
}
HDC WINAPI HookCreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR port, const DEVMODEW* mode) {
  HDC dc = real.createDCW(driver, device, port, mode);
  if (dc) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_memoryDcs.insert(dc);
  }
  return dc;
}
BOOL WINAPI HookDeleteDC(HDC dc) {
  const BOOL deleted = real.deleteDC(dc);
  if (deleted) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_memoryDcs.erase(dc);
  }
  return deleted;
}
HDC WINAPI HookGetDC(HWND window) {
  HDC dc = real.getDC(window);
  if (dc) InterlockedIncrement(&g_windowDcs);
  return dc;
}
int WINAPI HookReleaseDC(HWND window, HDC dc) {
  const int released = real.releaseDC(window, dc);
  if (released) InterlockedDecrement(&g_windowDcs);
  return released;
}
HDC WINAPI HookBeginPaint(HWND window, PAINTSTRUCT* paint) {
  HDC dc = real.beginPaint(window, paint);
  if (dc) InterlockedIncrement(&g_windowDcs);
  return dc;
}
BOOL WINAPI HookEndPaint(HWND window, const PAINTSTRUCT* paint) {
  InterlockedDecrement(&g_windowDcs);
  return real.endPaint(window, paint);
}

struct Redirect {
  const char* name;
  void* hook;
  void** real;
};

const Redirect kRedirects[] = {
    {"CreateSolidBrush", reinterpret_cast<void*>(&HookCreateSolidBrush),
     reinterpret_cast<void**>(&real.createSolidBrush)},
    {"CreatePen", reinterpret_cast<void*>(&HookCreatePen),
     reinterpret_cast<void**>(&real.createPen)},
    {"CreateFontIndirectW", reinterpret_cast<void*>(&HookCreateFontIndirectW),
     reinterpret_cast<void**>(&real.createFontIndirectW)},
    {"CreateCompatibleBitmap", reinterpret_cast<void*>(&HookCreateCompatibleBitmap),
     reinterpret_cast<void**>(&real.createCompatibleBitmap)},
    {"CreateDIBSection", reinterpret_cast<void*>(&HookCreateDIBSection),
     reinterpret_cast<void**>(&real.createDIBSection)},
    {"CreateCompatibleDC", reinterpret_cast<void*>(&HookCreateCompatibleDC),
     reinterpret_cast<void**>(&real.createCompatibleDC)},
    {"CreateDCW", reinterpret_cast<void*>(&HookCreateDCW),
     reinterpret_cast<void**>(&real.createDCW)},
    {"DeleteObject", reinterpret_cast<void*>(&HookDeleteObject),
     reinterpret_cast<void**>(&real.deleteObject)},
    {"DeleteDC", reinterpret_cast<void*>(&HookDeleteDC), reinterpret_cast<void**>(&real.deleteDC)},
    {"LoadImageW", reinterpret_cast<void*>(&HookLoadImageW),
     reinterpret_cast<void**>(&real.loadImageW)},
    {"GetDC", reinterpret_cast<void*>(&HookGetDC), reinterpret_cast<void**>(&real.getDC)},
    {"ReleaseDC", reinterpret_cast<void*>(&HookReleaseDC),
     reinterpret_cast<void**>(&real.releaseDC)},
    {"BeginPaint", reinterpret_cast<void*>(&HookBeginPaint),
     reinterpret_cast<void**>(&real.beginPaint)},
    {"EndPaint", reinterpret_cast<void*>(&HookEndPaint), reinterpret_cast<void**>(&real.endPaint)},
};

// Points each listed import of gdi32.dll and user32.dll at its hook, keeping the real address.
int RedirectImports() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return 0;
  int redirected = 0;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       library->Name != 0; ++library) {
    const char* name = reinterpret_cast<const char*>(base + library->Name);
    if (lstrcmpiA(name, "gdi32.dll") != 0 && lstrcmpiA(name, "user32.dll") != 0) continue;
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    auto* lookup = reinterpret_cast<IMAGE_THUNK_DATA*>(
        base + (library->OriginalFirstThunk ? library->OriginalFirstThunk : library->FirstThunk));
    for (; lookup->u1.AddressOfData != 0; ++lookup, ++slot) {
      if (IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + lookup->u1.AddressOfData);
      for (const Redirect& redirect : kRedirects) {
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), redirect.name) != 0) continue;
        DWORD old = 0;
        if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old)) {
          break;
        }
        *redirect.real = reinterpret_cast<void*>(slot->u1.Function);
        slot->u1.Function = reinterpret_cast<ULONG_PTR>(redirect.hook);
        VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
        ++redirected;
        break;
      }
    }
  }
  return redirected;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  EnumChildWindows(window, CountChild, count);
  return TRUE;
}

}  // namespace

bool InstallHandleAccounting() {
  static const bool installed = RedirectImports() == static_cast<int>(std::size(kRedirects));
  return installed;
}

HandleCounts CurrentHandleCounts() {
  HandleCounts counts;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    counts.gdiObjects = static_cast<long>(g_objects.size());
    counts.memoryDcs = static_cast<long>(g_memoryDcs.size());
  }
  counts.windowDcs = g_windowDcs;
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&counts.windows));
  counts.systemGdi = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  counts.systemUser = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  return counts;
}

}  // namespace tessaline::testing
