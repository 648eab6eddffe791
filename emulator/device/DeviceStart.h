// The emulated device's start and its soft reset, as the emulator plays them.
//
// At every start, after the device services' BeginDeviceStart() and the current input method,
// the device runs the programs of its launch slots (StartupSequence.h). A soft reset (requested
// through KernelIoControl by any program of the device, or pressed by a script) restarts the
// device inside the running emulator: the current input method is hidden, deselected and
// released; COM is shut down and started again, so that every input method's library is unloaded
// (its file is no longer in use, as after a real reset); the Notes text, which lived in memory,
// is gone; then the device starts again as above. The device screen's windows stay: they are the
// hardware.
//
// The restart happens in the same process rather than in a new one, so that a script carries on
// across it and the emulator's output stays one run's output.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "device/StartupSequence.h"
#include "win32/Handles.h"
#include "win32/MessageWindow.h"

namespace tessaline::emulator {

class CDeviceWnd;

class DeviceStart final : public win32::MessageWindow {
 public:
  // `report` gets the start-up sequence's lines and any trouble of a restart.
  DeviceStart(CDeviceWnd& device, std::function<void(const std::string&)> report);
  ~DeviceStart() override;
  DeviceStart(const DeviceStart&) = delete;
  DeviceStart& operator=(const DeviceStart&) = delete;

  // Runs the launch slots' programs; call once the device has started its input method.
  void RunLaunchSlots();
  // Asks for the soft reset. It happens when the device's main message loop next gets control
  // (RunPendingReset), never inside a call of the input method or a modal window of its own, so
  // that no library is unloaded under code that still runs in it.
  void RequestSoftReset() { resetPending_ = true; }
  void RunPendingReset();
  // True while a reset is pending or its start-up programs are being started: the device is not
  // ready for a person's taps.
  bool IsStarting() const;
  // How many soft resets this device has gone through.
  int Resets() const { return resets_; }

 private:
  // Its message-only window drives the start-up sequence from its timer.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnTimer();
  void SoftReset();

  CDeviceWnd& device_;
  std::function<void(const std::string&)> report_;
  DeviceLauncher launcher_;
  std::unique_ptr<StartupSequence> sequence_;
  bool resetPending_ = false;
  int resets_ = 0;
};

}  // namespace tessaline::emulator
