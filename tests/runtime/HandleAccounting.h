// Counts of the GDI objects, device contexts and windows that this program holds, for tests that
// demand flat counts. Windows reports GDI and USER objects through GetGuiResources; Wine answers
// 0, so the program keeps its own account: the calls that make and free GDI objects and device
// contexts are routed through counters (the program's import table is redirected), and windows
// are counted by enumerating those of the thread.
#pragma once

#include <windows.h>

namespace tessaline::testing {

struct HandleCounts {
  long gdiObjects = 0;  // brushes, pens, fonts, bitmaps made and not deleted
  long memoryDcs = 0;   // CreateCompatibleDC / CreateDCW without DeleteDC
  long windowDcs = 0;   // GetDC / GetWindowDC / BeginPaint without ReleaseDC / EndPaint
  long windows = 0;     // windows of the calling thread, top-level and children
  long systemGdi = 0;   // GetGuiResources, where the system reports it (0 under Wine)
  long systemUser = 0;
  bool operator==(const HandleCounts&) const = default;
};

// Redirects the program's imports once; later calls do nothing. False when the import table
// could not be changed.
bool InstallHandleAccounting();
HandleCounts CurrentHandleCounts();

}  // namespace tessaline::testing
