// The input method's speed and size as the device sees them, measured in the emulator (a
// benchmark, not a test): pen up on a letter key to the candidate window painted, Showing to the
// panel's first paint when the input window is built anew, and the process's memory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tessaline::emulator {

class CDeviceWnd;

// Milliseconds from a high-resolution clock.
double NowMilliseconds();

// Durations in milliseconds, reported as median and 99th percentile.
class Samples {
 public:
  void Add(double milliseconds) { values_.push_back(milliseconds); }
  size_t Count() const { return values_.size(); }
  // The value below which that share of the samples lies (nearest rank); 0 without samples.
  double Percentile(double share) const;
  std::string Describe(const char* what) const;

 private:
  std::vector<double> values_;
};

// Pen up on a letter key to the candidate window painted: every key, and split by whether the
// candidate window had to be shown (the first key of a word: it had no size before) or was
// already up.
struct PenUpSamples {
  Samples all;
  Samples showing;
  Samples shown;
  std::string Describe() const;
};

struct MemoryFigures {
  size_t workingSet = 0;    // bytes
  size_t privateBytes = 0;  // bytes
};
MemoryFigures ProcessMemory();
std::string DescribeMemory(const char* when, const MemoryFigures& figures);

// Hides the panel, makes the input method rebuild its window at the next Showing (as closing
// its options with OK does), shows the panel and paints it: the milliseconds from the panel
// button to the input window painted.
double MeasureShowing(CDeviceWnd& device);

}  // namespace tessaline::emulator
