// Replays a script on the running device. Each command becomes a few timed steps (a tap is the
// pen down, 60 ms, the pen up); the steps run from a timer of their own window, so that they go
// on while a modal window of the input method (its options sheet) runs its own message loop.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "screen/Pen.h"
#include "script/Script.h"
#include "win32/Handles.h"
#include "win32/MessageWindow.h"

namespace tessaline::emulator {

class CDeviceWnd;
class DeviceStart;

class ScriptRunner final : public win32::MessageWindow {
 public:
  // done(error): empty when the whole script ran.
  ScriptRunner(CDeviceWnd& device, Pen& pen, std::wstring shotsFolder,
               std::function<void(const std::string& error)> done);
  // Who carries out the 'type' commands when the script reaches them: plans the text and adds
  // its steps (the error, or nothing). Without one, a 'type' command stops the script.
  void SetTyper(std::function<std::string(const std::string& text)> typer) {
    typer_ = std::move(typer);
  }
  bool Start(const std::vector<ScriptCommand>& commands);
  // Adds a step of the caller's own (the typist's): run() gives the error or nothing, and the
  // next step follows pauseAfter milliseconds later. Added while a step runs, the steps come
  // right after it, in the order added; otherwise at the end.
  void Add(std::function<std::string()> run, UINT pauseAfter);
  // The device's start: the script waits while the device restarts, and its device commands
  // (install, uninstall, reset, ...) act through it. Set before Start.
  void SetDeviceStart(DeviceStart& start) { start_ = &start; }

  static constexpr UINT kTapMilliseconds = 60;
  static constexpr int kSwipeSteps = 8;
  static constexpr UINT kSwipeStepMilliseconds = 15;
  static constexpr UINT kKeyPauseMilliseconds = 5;
  static constexpr UINT kBusyMilliseconds = 20;

 private:
  struct Step {
    std::function<std::string()> run;  // the error, or empty
    UINT pauseAfter = 0;
  };
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnTimer();
  void Expand(const ScriptCommand& command);
  void Finish(const std::string& error);
  std::string SendKey(BYTE code, DWORD flags);

  CDeviceWnd& device_;
  Pen& pen_;
  std::wstring shotsFolder_;
  std::function<void(const std::string&)> done_;
  std::function<std::string(const std::string&)> typer_;
  std::deque<Step> steps_;
  bool finished_ = false;
  bool running_ = false;  // a step runs: Add inserts at insertAt_
  size_t insertAt_ = 0;
  DeviceStart* start_ = nullptr;
};

}  // namespace tessaline::emulator
