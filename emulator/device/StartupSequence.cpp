#include "device/StartupSequence.h"

#include <algorithm>

#include "device/DevicePaths.h"
#include "platform/DeviceState.h"
#include "settings/LaunchSlots.h"
#include "system/WideText.h"

namespace tessaline::emulator {

std::vector<LaunchEntry> ReadLaunchEntries() {
  std::vector<LaunchEntry> entries;
  for (int slot = kFirstLaunchSlot; slot <= kLastLaunchSlot; ++slot) {
    const WideString text = ReadLaunchSlot(slot);
    if (!text.empty()) entries.push_back({slot, std::wstring(text.begin(), text.end())});
  }
  return entries;
}

StartupSequence::StartupSequence(StartupLauncher& launcher, std::vector<LaunchEntry> entries,
                                 DWORD signalTimeout,
                                 std::function<void(const std::string&)> report)
    : launcher_(launcher),
      entries_(std::move(entries)),
      timeout_(signalTimeout),
      report_(std::move(report)) {}

void StartupSequence::Report(const std::string& line) {
  if (report_) report_("start-up: " + line);
}

void StartupSequence::Advance() {
  while (!done_) {
    if (waiting_) {
      const LaunchEntry& entry = entries_[next_ - 1];
      const std::string slot = "slot " + std::to_string(entry.slot);
      if (launcher_.HasSignalled(entry.slot)) {
        waiting_ = false;
      } else if (launcher_.HasEnded()) {
        Report(slot + ": " + WideToUtf8(entry.program) + " ended without its start-up signal");
        waiting_ = false;
      } else if (launcher_.Now() - startedAt_ >= timeout_) {
        Report(slot + ": no start-up signal from " + WideToUtf8(entry.program) + " within " +
               std::to_string(timeout_) + " ms; going on");
        waiting_ = false;
      } else {
        return;
      }
    }
    if (next_ == entries_.size()) {
      done_ = true;
      return;
    }
    const LaunchEntry& entry = entries_[next_++];
    if (!launcher_.Start(entry)) {
      Report("slot " + std::to_string(entry.slot) + ": cannot start " + WideToUtf8(entry.program));
      continue;
    }
    Report("slot " + std::to_string(entry.slot) + ": started " + WideToUtf8(entry.program));
    waiting_ = true;
    startedAt_ = launcher_.Now();
  }
}

bool DeviceLauncher::Start(const LaunchEntry& entry) {
  process_ = {};
  const std::wstring program = HostPath(entry.program);
  std::wstring commandLine = L"\"" + program + L"\" " + std::to_wstring(entry.slot);
  // The device's programs start in its system folder, where a program named without a path
  // (Afterboot.exe's "unload.exe") is found too.
  const std::wstring folder = SystemFolder();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
    return false;
  }
  process_ = win32::Process(started);
  process_.CloseThread();
  return true;
}

bool DeviceLauncher::HasSignalled(int slot) {
  const std::vector<DWORD> started = device::StartedSlots();
  return std::find(started.begin(), started.end(), static_cast<DWORD>(slot)) != started.end();
}

bool DeviceLauncher::HasEnded() {
  return !process_ || WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0;
}

}  // namespace tessaline::emulator
