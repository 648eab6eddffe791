#include "device/DeviceStart.h"

#include <objbase.h>

#include "platform/DeviceState.h"
#include "screen/DeviceWnd.h"
#include "system/WideText.h"

namespace tessaline::emulator {
namespace {

constexpr wchar_t kClassName[] = L"TessalineDeviceStart";
constexpr UINT_PTR kSequenceTimer = 1;
constexpr UINT kSequenceMilliseconds = 50;

}  // namespace

DeviceStart::DeviceStart(CDeviceWnd& device, std::function<void(const std::string&)> report)
    : device_(device), report_(std::move(report)) {
  if (RegisterClassOnce(kClassName, 0)) {
    CreateWindowOf(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
  }
}

DeviceStart::~DeviceStart() {
  if (Handle()) KillTimer(Handle(), kSequenceTimer);
  DestroyWindowNow();
}

LRESULT DeviceStart::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kSequenceTimer) {
    OnTimer();
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

void DeviceStart::RunLaunchSlots() {
  sequence_ = std::make_unique<StartupSequence>(launcher_, ReadLaunchEntries(),
                                                StartupSequence::kSignalTimeout, report_);
  sequence_->Advance();
  if (!sequence_->IsDone() && Handle()) {
    SetTimer(Handle(), kSequenceTimer, kSequenceMilliseconds, nullptr);
  }
}

void DeviceStart::OnTimer() {
  if (!sequence_) return;
  sequence_->Advance();
  if (sequence_->IsDone()) KillTimer(Handle(), kSequenceTimer);
}

bool DeviceStart::IsStarting() const {
  return resetPending_ || (sequence_ && !sequence_->IsDone());
}

void DeviceStart::RunPendingReset() {
  if (!resetPending_) return;
  SoftReset();
  resetPending_ = false;
}

void DeviceStart::SoftReset() {
  ++resets_;
  // What the Notes box held is lost with the reset; the report keeps it for whoever watches.
  std::string notes = WideToUtf8(device_.NotesText());
  for (size_t at = 0; (at = notes.find('\n', at)) != std::string::npos;)
    notes.replace(at, 1, "\\n");
  if (report_) report_("soft reset; the Notes text \"" + notes + "\" is gone");
  // Programs of the start before that are still to be started are not started any more.
  if (Handle()) KillTimer(Handle(), kSequenceTimer);
  sequence_.reset();

  device_.HidePanel();
  device_.Host().Deactivate();
  // With the apartment gone every in-process server's library is freed, whatever its
  // DllCanUnloadNow would say later; the device's next start loads what it needs again.
  CoUninitialize();
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  SetWindowTextW(device_.Notes(), L"");

  device::BeginDeviceStart();
  std::wstring error;
  if (!device_.StartInputMethod(error) && report_) report_("after the reset: " + WideToUtf8(error));
  device_.ShowPanel();
  RunLaunchSlots();
}

}  // namespace tessaline::emulator
