#include "typist/Benchmark.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "screen/DeviceWnd.h"
#include "settings/SettingsStore.h"
#include "system/ProductIds.h"
#include "system/WideText.h"

namespace tessaline::emulator {

double NowMilliseconds() {
  static const double frequency = [] {
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

double Samples::Percentile(double share) const {
  if (values_.empty()) return 0;
  std::vector<double> sorted = values_;
  std::sort(sorted.begin(), sorted.end());
  const size_t rank = static_cast<size_t>(std::ceil(share * static_cast<double>(sorted.size())));
  return sorted[std::min(sorted.size(), std::max<size_t>(rank, 1)) - 1];
}

std::string Samples::Describe(const char* what) const {
  char line[200];
  std::snprintf(line, sizeof(line), "%s: median %.2f ms, p99 %.2f ms, max %.2f ms (%zu samples)\n",
                what, Percentile(0.5), Percentile(0.99), Percentile(1.0), values_.size());
  return line;
}

std::string PenUpSamples::Describe() const {
  return all.Describe("pen up to candidates painted") +
         showing.Describe("  of which the first key of a word (the window hidden before)") +
         shown.Describe("  of which the candidate window up before the pen down");
}

MemoryFigures ProcessMemory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  MemoryFigures figures;
  if (GetProcessMemoryInfo(GetCurrentProcess(),
                           reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters))) {
    figures.workingSet = counters.WorkingSetSize;
    // Wine leaves PrivateUsage at 0; the pagefile-backed commit is the same figure there.
    figures.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
  }
  return figures;
}

std::string DescribeMemory(const char* when, const MemoryFigures& figures) {
  char line[200];
  std::snprintf(line, sizeof(line), "memory %s: working set %.1f MB, private bytes %.1f MB\n", when,
                static_cast<double>(figures.workingSet) / 1048576.0,
                static_cast<double>(figures.privateBytes) / 1048576.0);
  return line;
}

namespace {

constexpr double kMegabyte = 1048576.0;

// Bytes of free blocks in every heap of the process. Nothing is allocated while a heap is walked.
size_t FreeHeapBytes() {
  HANDLE heaps[128];
  const DWORD count = GetProcessHeaps(128, heaps);
  size_t free = 0;
  for (DWORD i = 0; i < count && i < 128; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      constexpr WORD kNotFree =
          PROCESS_HEAP_ENTRY_BUSY | PROCESS_HEAP_REGION | PROCESS_HEAP_UNCOMMITTED_RANGE;
      if ((entry.wFlags & kNotFree) == 0) free += entry.cbData + entry.cbOverhead;
    }
    HeapUnlock(heaps[i]);
  }
  return free;
}

std::string NamedSizes(const std::vector<std::pair<std::string, size_t>>& items) {
  std::string text;
  for (const auto& [name, bytes] : items) {
    if (bytes < 16 * 1024) break;
    char item[160];
    std::snprintf(item, sizeof(item), "%s%s %.2f MB", text.empty() ? "" : ", ", name.c_str(),
                  static_cast<double>(bytes) / kMegabyte);
    text += item;
  }
  return text.empty() ? "none" : text;
}

}  // namespace

AddressSpace WalkAddressSpace() {
  AddressSpace space;
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  auto* at = static_cast<const char*>(system.lpMinimumApplicationAddress);
  const auto* end = static_cast<const char*>(system.lpMaximumApplicationAddress);
  MEMORY_BASIC_INFORMATION region{};
  while (at < end && VirtualQuery(at, &region, sizeof(region)) == sizeof(region)) {
    if (region.State == MEM_COMMIT) {
      if (region.Type == MEM_PRIVATE) {
        space.privateBytes += region.RegionSize;
      } else if (region.Type == MEM_MAPPED || region.Type == MEM_IMAGE) {
        MappedView& view = space.views[reinterpret_cast<uintptr_t>(region.AllocationBase)];
        view.bytes += region.RegionSize;
        view.image = region.Type == MEM_IMAGE;
      }
    }
    at = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
  }
  for (auto& [base, view] : space.views) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetMappedFileNameW(GetCurrentProcess(), reinterpret_cast<void*>(base),
                                            path, MAX_PATH);
    std::wstring name(path, length);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    view.name = name.empty() ? "?" : WideToUtf8(name);
  }
  space.freeHeapBytes = FreeHeapBytes();
  return space;
}

OwnMemory OwnMemorySince(const AddressSpace& before, const AddressSpace& now, HMODULE library) {
  OwnMemory memory;
  const auto megabytes = [](size_t a, size_t b) {
    return (static_cast<double>(a) - static_cast<double>(b)) / kMegabyte;
  };
  memory.privateCommitted = megabytes(now.privateBytes, before.privateBytes);
  memory.privateInUse = megabytes(now.privateBytes - now.freeHeapBytes,
                                  before.privateBytes - before.freeHeapBytes);
  for (const auto& [base, view] : now.views) {
    // A view at an address that held the same file before is the same mapping (counted with
    // what it grew by); any other is new.
    const auto old = before.views.find(base);
    const size_t had =
        old != before.views.end() && old->second.name == view.name ? old->second.bytes : 0;
    if (view.bytes <= had) continue;
    const size_t added = view.bytes - had;
    if (!view.image) {
      memory.mapped += static_cast<double>(added) / kMegabyte;
      memory.files.emplace_back(view.name, added);
    } else if (reinterpret_cast<HMODULE>(base) == library) {
      memory.mapped += static_cast<double>(added) / kMegabyte;
      memory.library += static_cast<double>(added) / kMegabyte;
    } else {
      memory.systemModules += static_cast<double>(added) / kMegabyte;
      memory.modules.emplace_back(view.name, added);
    }
  }
  const auto largestFirst = [](const auto& a, const auto& b) { return a.second > b.second; };
  std::sort(memory.files.begin(), memory.files.end(), largestFirst);
  std::sort(memory.modules.begin(), memory.modules.end(), largestFirst);
  return memory;
}

std::string DescribeOwnMemory(const char* when, const OwnMemory& memory) {
  char line[400];
  std::snprintf(line, sizeof(line),
                "input method %s: private %.1f MB (in use; committed %+.1f MB), mapped %.1f MB "
                "(its library %.1f MB, files %.1f MB)\n",
                when, memory.privateInUse, memory.privateCommitted, memory.mapped,
                memory.library, memory.mapped - memory.library);
  return std::string(line) + "  mapped files: " + NamedSizes(memory.files) +
         "; system libraries it loaded: " + NamedSizes(memory.modules) + "\n";
}

void RunWaitingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

double MeasureShowing(CDeviceWnd& device) {
  device.HidePanel();
  // The settings' change counter raised, as the options' OK raises it: the next Showing takes
  // the settings again (the languages, and the skin and layouts when their files changed).
  LoadSettings();
  RaiseCounterAndSave();
  const double start = NowMilliseconds();
  device.ShowPanel();
  HWND input = FindWindowExW(device.SipWindow(), nullptr, kInputWindowClass, nullptr);
  if (input) UpdateWindow(input);
  const double elapsed = NowMilliseconds() - start;
  RunWaitingMessages();
  return elapsed;
}

}  // namespace tessaline::emulator
