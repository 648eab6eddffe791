// The input method's speed and size as the device sees them, measured in the emulator (a
// benchmark, not a test): pen up on a letter key to the candidate window painted, Showing to the
// panel's first paint, and the input method's own memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
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
// candidate window was hidden before the pen went down (the first key of a word: it had no
// size) or was up already.
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

// The process's address space as VirtualQuery walks it: committed private memory (heaps,
// stacks, what GDI and the window server keep on the process's side) and the part of it that
// lies free in the heaps (HeapWalk), and every mapped view (file views: MEM_MAPPED; modules:
// MEM_IMAGE) by the address it was mapped at, with its file's name.
struct MappedView {
  size_t bytes = 0;  // committed
  bool image = false;
  std::string name;  // the file's name without its folder, "?" when the system does not say
};
struct AddressSpace {
  size_t privateBytes = 0;
  size_t freeHeapBytes = 0;
  std::map<uintptr_t, MappedView> views;
};
AddressSpace WalkAddressSpace();

// The input method's own memory: what the process holds more than at `before`, taken just
// before the input method was created (the typist has planned by then, so its own copies of
// the languages are not counted). Private: the private bytes in use since (committed less what
// lies free in the heaps: a heap that grew earlier and was freed again is reused without a new
// commit), and the committed growth alone. Mapped: the file views mapped since and the input
// method's own library (`library`, the module's base). The other modules loaded since are the
// system's libraries it uses, shared with every process that loads them: named apart.
struct OwnMemory {
  double privateInUse = 0;     // MB
  double privateCommitted = 0;  // MB
  double mapped = 0;           // MB: files and the library
  double library = 0;          // MB: of mapped, the library
  double systemModules = 0;    // MB
  std::vector<std::pair<std::string, size_t>> files, modules;  // largest first
};
OwnMemory OwnMemorySince(const AddressSpace& before, const AddressSpace& now, HMODULE library);
std::string DescribeOwnMemory(const char* when, const OwnMemory& memory);

// Handles the thread's messages waiting now, without waiting for more.
void RunWaitingMessages();

// Hides the panel, raises the settings' change counter (as closing the options with OK does:
// the input method takes the settings again at the next Showing), shows the panel and paints
// it: the milliseconds from the panel button to the input window painted. The messages that
// waited then (a language read after the paint) are handled after the clock stopped.
double MeasureShowing(CDeviceWnd& device);

}  // namespace tessaline::emulator
