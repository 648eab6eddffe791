#include "script/ScriptRunner.h"

#include "device/DeviceScript.h"
#include "device/DeviceStart.h"
#include "screen/DeviceWnd.h"
#include "screen/Screenshot.h"
#include "script/DialogControls.h"
#include "system/WideText.h"

namespace tessaline::emulator {
namespace {

constexpr wchar_t kClassName[] = L"TessalineScriptRunner";
constexpr UINT_PTR kStepTimer = 1;

}  // namespace

ScriptRunner::ScriptRunner(CDeviceWnd& device, Pen& pen, std::wstring shotsFolder,
                           std::function<void(const std::string& error)> done)
    : device_(device), pen_(pen), shotsFolder_(std::move(shotsFolder)), done_(std::move(done)) {}

bool ScriptRunner::Start(const std::vector<ScriptCommand>& commands) {
  if (!RegisterClassOnce(kClassName, 0)) return false;
  if (!CreateWindowOf(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE)) return false;
  for (const ScriptCommand& command : commands) Expand(command);
  // The device paints itself and the input method settles before the first touch.
  SetTimer(Handle(), kStepTimer, 50, nullptr);
  return true;
}

LRESULT ScriptRunner::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kStepTimer) {
    OnTimer();
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

void ScriptRunner::OnTimer() {
  KillTimer(Handle(), kStepTimer);
  if (finished_) return;
  // A device that is restarting takes no taps yet.
  if (start_ && start_->IsStarting()) {
    SetTimer(Handle(), kStepTimer, kBusyMilliseconds, nullptr);
    return;
  }
  if (steps_.empty()) {
    Finish({});
    return;
  }
  Step step = std::move(steps_.front());
  steps_.pop_front();
  // The next step is due before this one runs: a step that opens a modal window returns only
  // when it closes, and the script goes on inside that window's message loop meanwhile.
  SetTimer(Handle(), kStepTimer, step.pauseAfter > 0 ? step.pauseAfter : 1, nullptr);
  running_ = true;
  insertAt_ = 0;
  const std::string error = step.run();
  running_ = false;
  if (error == kStepNotDone) {
    steps_.push_front(std::move(step));  // waits on the device: again after its pause
  } else if (!error.empty()) {
    Finish(error);
  }
}

void ScriptRunner::Add(std::function<std::string()> run, UINT pauseAfter) {
  if (!running_) {
    steps_.push_back({std::move(run), pauseAfter});
    return;
  }
  steps_.insert(steps_.begin() + static_cast<std::ptrdiff_t>(insertAt_++),
                Step{std::move(run), pauseAfter});
}

std::string ScriptRunner::SendKey(BYTE code, DWORD flags) {
  IIMCallback& callback = device_.Host().Callback();
  callback.SendVirtualKey(code, flags);
  return std::string();
}

void ScriptRunner::Finish(const std::string& error) {
  if (finished_) return;
  finished_ = true;
  KillTimer(Handle(), kStepTimer);
  if (pen_.IsDown()) pen_.Up(POINT{0, 0});
  done_(error);
}

void ScriptRunner::Expand(const ScriptCommand& command) {
  const int* n = command.numbers;
  const POINT first{n[0], n[1]};
  const std::string where = "line " + std::to_string(command.line) + ": ";
  auto down = [this, first] {
    pen_.Down(first);
    return std::string();
  };
  auto up = [this](POINT point) {
    return [this, point] {
      pen_.Up(point);
      return std::string();
    };
  };
  switch (command.verb) {
    case ScriptVerb::kTap:
      steps_.push_back({down, kTapMilliseconds});
      steps_.push_back({up(first), 0});
      break;
    case ScriptVerb::kDown:
      steps_.push_back({down, 0});
      break;
    case ScriptVerb::kMove:
      steps_.push_back({[this, first] {
                          pen_.Move(first);
                          return std::string();
                        },
                        0});
      break;
    case ScriptVerb::kUp:
      steps_.push_back({up(first), 0});
      break;
    case ScriptVerb::kHold:
      steps_.push_back({down, static_cast<UINT>(n[2])});
      steps_.push_back({up(first), 0});
      break;
    case ScriptVerb::kSwipe: {
      steps_.push_back({down, kSwipeStepMilliseconds});
      for (int i = 1; i <= kSwipeSteps; ++i) {
        const POINT point{n[0] + (n[2] - n[0]) * i / kSwipeSteps,
                          n[1] + (n[3] - n[1]) * i / kSwipeSteps};
        steps_.push_back({[this, point] {
                            pen_.Move(point);
                            return std::string();
                          },
                          kSwipeStepMilliseconds});
      }
      steps_.push_back({up(POINT{n[2], n[3]}), 0});
      break;
    }
    case ScriptVerb::kWait:
      steps_.push_back({[] { return std::string(); }, static_cast<UINT>(n[0])});
      break;
    case ScriptVerb::kShot: {
      const std::wstring path = (shotsFolder_.empty() ? std::wstring() : shotsFolder_ + L"\\") +
                                Utf8ToWin32Wide(command.name) + L".png";
      steps_.push_back({[this, path, where] {
                          const std::string rgb = CaptureDevice(device_.Handle(), nullptr);
                          if (rgb.empty() || !WriteScreenshot(rgb, path)) {
                            return where + "cannot write the screenshot '" + WideToUtf8(path) + "'";
                          }
                          return std::string();
                        },
                        0});
      break;
    }
    case ScriptVerb::kOptions:
      steps_.push_back({[this] {
                          device_.OpenOptions();
                          return std::string();
                        },
                        0});
      break;
    case ScriptVerb::kShow:
      steps_.push_back({[this] {
                          device_.ShowPanel();
                          return std::string();
                        },
                        0});
      break;
    case ScriptVerb::kHide:
      steps_.push_back({[this] {
                          device_.HidePanel();
                          return std::string();
                        },
                        0});
      break;
    case ScriptVerb::kType:
      // Planned when the script gets here, with the settings and the text as they are then.
      steps_.push_back({[this, where, text = command.name] {
                          const std::string error = typer_ ? typer_(text) : "there is no typist";
                          return error.empty() ? error : where + error;
                        },
                        0});
      break;
    case ScriptVerb::kPage:
      steps_.push_back({[where, name = command.name] {
                          const std::string error = SelectSheetPage(Utf8ToWin32Wide(name));
                          return error.empty() ? error : where + error;
                        },
                        0});
      break;
    case ScriptVerb::kPress:
      steps_.push_back({[where, name = command.name] {
                          const std::string error = PressButton(Utf8ToWin32Wide(name));
                          return error.empty() ? error : where + error;
                        },
                        0});
      break;
    case ScriptVerb::kChoose:
      steps_.push_back({[where, name = command.name] {
                          const std::string error = ChooseEntry(Utf8ToWin32Wide(name));
                          return error.empty() ? error : where + error;
                        },
                        0});
      break;
    case ScriptVerb::kInstall:
    case ScriptVerb::kUninstall:
    case ScriptVerb::kReset:
    case ScriptVerb::kAnswer:
    case ScriptVerb::kCurrent:
    case ScriptVerb::kPick:
      if (!start_) {
        steps_.push_back({[where] { return where + "this device cannot do that"; }, 0});
        break;
      }
      for (DeviceStep& step : DeviceCommandSteps(command, device_, pen_, *start_)) {
        steps_.push_back({std::move(step.run), step.pauseAfter});
      }
      break;
    case ScriptVerb::kKey:
      // One call a half key stroke, with the key script's pause between them.
      for (const ScriptCommand::Key& key : command.keys) {
        const BYTE code = key.code;
        if (key.press)
          steps_.push_back({[this, code] { return SendKey(code, 0); }, kKeyPauseMilliseconds});
        if (key.release) {
          steps_.push_back(
              {[this, code] { return SendKey(code, kKeyEventKeyUp); }, kKeyPauseMilliseconds});
        }
      }
      break;
  }
}

}  // namespace tessaline::emulator
