#include "typist/Benchmark.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "screen/DeviceWnd.h"
#include "settings/SettingsStore.h"
#include "system/ProductIds.h"

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
         showing.Describe("  of which the candidate window shown anew") +
         shown.Describe("  of which the candidate window already up");
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

double MeasureShowing(CDeviceWnd& device) {
  device.HidePanel();
  // The settings' change counter raised, as the options' OK raises it: the next Showing builds
  // the input window anew, with its layouts, skin and languages.
  LoadSettings();
  RaiseCounterAndSave();
  const double start = NowMilliseconds();
  device.ShowPanel();
  HWND input = FindWindowExW(device.SipWindow(), nullptr, kInputWindowClass, nullptr);
  if (input) UpdateWindow(input);
  return NowMilliseconds() - start;
}

}  // namespace tessaline::emulator
