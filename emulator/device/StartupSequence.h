// The device's start-up sequence: after every start the device runs the programs named in the
// launch slots 71 to 78 (HKEY_LOCAL_MACHINE\init "Launch71".."Launch78"), in slot order, each
// with its slot number as its only argument, and starts the next one only when the one before
// gave its start-up signal (SignalStarted with its slot). A program that ends without the signal,
// or gives none within the time-out, does not hold the device up: the next one starts then.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/Handles.h"

namespace tessaline::emulator {

struct LaunchEntry {
  int slot = 0;
  std::wstring program;  // as the slot names it: a device path
  bool operator==(const LaunchEntry&) const = default;
};

// The slots that name a program, in order; a missing, empty or non-string slot is left out.
std::vector<LaunchEntry> ReadLaunchEntries();

// What the sequence needs of the device.
class StartupLauncher {
 public:
  virtual ~StartupLauncher() = default;
  // Starts the entry's program with the slot number as its argument; false when it cannot.
  virtual bool Start(const LaunchEntry& entry) = 0;
  virtual bool HasSignalled(int slot) = 0;
  // True once the program started last has ended.
  virtual bool HasEnded() = 0;
  virtual DWORD Now() = 0;  // milliseconds
};

class StartupSequence {
 public:
  static constexpr DWORD kSignalTimeout = 15000;

  // `report` gets a line for each program started and for each that did not signal.
  StartupSequence(StartupLauncher& launcher, std::vector<LaunchEntry> entries,
                  DWORD signalTimeout = kSignalTimeout,
                  std::function<void(const std::string&)> report = nullptr);

  // Moves on as far as it can: call it once to begin, then whenever a signal may have come or
  // time has passed.
  void Advance();
  bool IsDone() const { return done_; }

 private:
  void Report(const std::string& line);

  StartupLauncher& launcher_;
  std::vector<LaunchEntry> entries_;
  DWORD timeout_;
  std::function<void(const std::string&)> report_;
  size_t next_ = 0;
  bool waiting_ = false;
  bool done_ = false;
  DWORD startedAt_ = 0;
};

// The device's own launcher: programs started by their device path (on the prefix's system
// drive) from the system folder, signals read from the device's state.
class DeviceLauncher final : public StartupLauncher {
 public:
  bool Start(const LaunchEntry& entry) override;
  bool HasSignalled(int slot) override;
  bool HasEnded() override;
  DWORD Now() override { return GetTickCount(); }

 private:
  win32::Process process_;
};

}  // namespace tessaline::emulator
