#include "device/DeviceScript.h"

#include <memory>
#include <optional>

#include "device/DevicePaths.h"
#include "device/DeviceStart.h"
#include "device/Package.h"
#include "device/SetupAnswer.h"
#include "platform/DeviceRegistry.h"
#include "platform/DeviceState.h"
#include "screen/DeviceLayout.h"
#include "screen/DeviceWnd.h"
#include "screen/Pen.h"
#include "screen/Picker.h"
#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline::emulator {
namespace {

constexpr UINT kPollMilliseconds = 50;
constexpr UINT kTapMilliseconds = 60;

std::string Where(const ScriptCommand& command) {
  return "line " + std::to_string(command.line) + ": ";
}

// A program of the device, waited for: done when it has ended well, and (for the uninstaller)
// once the soft reset it asked for has happened too.
std::vector<DeviceStep> RunProgramSteps(const ScriptCommand& command, std::wstring program,
                                        std::wstring arguments, bool waitForReset) {
  auto process = std::make_shared<win32::Process>();
  auto started = std::make_shared<DWORD>(0);
  const std::string where = Where(command);
  DeviceStep start{[=] {
                     if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
                       return where + "the device has no " + WideToUtf8(program);
                     }
                     *process = StartSetupProgram(program, arguments);
                     if (!*process) return where + "cannot start " + WideToUtf8(program);
                     *started = GetTickCount();
                     return std::string();
                   },
                   kPollMilliseconds};
  DeviceStep wait{[=] {
                    const bool running = WaitForSingleObject(process->Get(), 0) == WAIT_TIMEOUT;
                    if (!running && !(waitForReset && device::SoftResetRequested())) {
                      // A refusal or a removal that left files behind is not what the script
                      // went on from; the program's report on standard error says why.
                      DWORD status = 0;
                      GetExitCodeProcess(process->Get(), &status);
                      if (status != 0) {
                        return where + WideToUtf8(program) + " ended with status " +
                               std::to_string(status);
                      }
                      return std::string();
                    }
                    if (GetTickCount() - *started >= kProgramTimeout) {
                      return where + WideToUtf8(program) + " did not end within " +
                             std::to_string(kProgramTimeout / 1000) + " s";
                    }
                    return kStepNotDone;
                  },
                  kPollMilliseconds};
  return {start, wait};
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The installed input method's display name (its class key's default value), read without a
// call of the device services so that waiting leaves no trace in their record.
std::string CurrentInputMethodName() {
  const auto current = device::CurrentInputMethod();
  if (!current) return "(none)";
  const std::wstring key = L"CLSID\\" + device::ClassText(*current);
  return WideToUtf8(device::ReadText(HKEY_CLASSES_ROOT, key.c_str(), L"").value_or(L""));
}

std::vector<DeviceStep> CurrentSteps(const ScriptCommand& command, CDeviceWnd& device) {
  auto since = std::make_shared<std::optional<DWORD>>();
  const std::string where = Where(command);
  const std::string wanted = LowerAscii(command.name);
  return {{[=, &device] {
             if (!*since) *since = GetTickCount();
             const auto current = device::CurrentInputMethod();
             if (current && LowerAscii(CurrentInputMethodName()) == wanted &&
                 device.Host().IsActive() && device.Host().Current() == *current) {
               return std::string();
             }
             if (GetTickCount() - **since >= kCurrentTimeout) {
               return where + "'" + command.name + "' did not become the current input method " +
                      "within " + std::to_string(kCurrentTimeout / 1000) +
                      " s (current: " + CurrentInputMethodName() + ")";
             }
             return kStepNotDone;
           },
           kPollMilliseconds * 2}};
}

// As a person does it: a tap on the arrow beside the panel button, then on the picker's row.
std::vector<DeviceStep> PickSteps(const ScriptCommand& command, CDeviceWnd& device, Pen& pen) {
  const POINT arrow{(kPickerArrow.left + kPickerArrow.right) / 2,
                    (kPickerArrow.top + kPickerArrow.bottom) / 2};
  auto row = std::make_shared<POINT>();
  const std::string where = Where(command);
  const std::string wanted = LowerAscii(command.name);
  return {
      {[&pen, arrow] {
         pen.Down(arrow);
         return std::string();
       },
       kTapMilliseconds},
      {[&pen, arrow] {
         pen.Up(arrow);
         return std::string();
       },
       kTapMilliseconds},
      {[=, &device, &pen] {
         const std::vector<InstalledInputMethod> methods = CreateDeviceDirectory()->Enumerate();
         size_t index = 0;
         while (index < methods.size() && LowerAscii(WideToUtf8(methods[index].name)) != wanted) {
           ++index;
         }
         const HWND picker = device.PickerWindow();
         if (index == methods.size() || !picker || !IsWindowVisible(picker)) {
           std::string names;
           for (const auto& method : methods) names += " '" + WideToUtf8(method.name) + "'";
           return where + "the picker offers no input method '" + command.name + "' (it offers" +
                  names + ")";
         }
         POINT top{0, 0};
         MapWindowPoints(picker, device.Handle(), &top, 1);
         *row = POINT{top.x + CPickerWnd::kWidth / 2,
                      top.y + static_cast<LONG>(index) * CPickerWnd::kRowHeight +
                          CPickerWnd::kRowHeight / 2};
         pen.Down(*row);
         return std::string();
       },
       kTapMilliseconds},
      {[&pen, row] {
         pen.Up(*row);
         return std::string();
       },
       0},
  };
}

}  // namespace

win32::Process StartSetupProgram(const std::wstring& program, const std::wstring& arguments) {
  // The child writes where this emulator reports: its standard error.
  HANDLE output = nullptr;
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error && error != INVALID_HANDLE_VALUE) {
    DuplicateHandle(GetCurrentProcess(), error, GetCurrentProcess(), &output, 0, TRUE,
                    DUPLICATE_SAME_ACCESS);
  }
  win32::KernelHandle inherited(output);
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (inherited) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
  }
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr,
                      inherited ? TRUE : FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return {};
  }
  win32::Process started(process);
  started.CloseThread();
  return started;
}

std::vector<DeviceStep> DeviceCommandSteps(const ScriptCommand& command, CDeviceWnd& device,
                                           Pen& pen, DeviceStart& start) {
  switch (command.verb) {
    case ScriptVerb::kInstall: {
      wchar_t self[MAX_PATH] = {};
      GetModuleFileNameW(nullptr, self, MAX_PATH);
      return RunProgramSteps(command, self, L"--install --headless", false);
    }
    case ScriptVerb::kUninstall:
      return RunProgramSteps(command, JoinPath(SystemFolder(), kUninstallerProgram),
                             kApplicationName, true);
    case ScriptVerb::kReset:
      return {{[&start] {
                 start.RequestSoftReset();
                 return std::string();
               },
               0}};
    case ScriptVerb::kAnswer: {
      const int answer = command.name == "cancel" ? IDCANCEL : IDOK;
      return {{[answer] {
                 SetDeviceSetupAnswer(answer);
                 return std::string();
               },
               0}};
    }
    case ScriptVerb::kCurrent:
      return CurrentSteps(command, device);
    case ScriptVerb::kPick:
      return PickSteps(command, device, pen);
    default:
      return {};
  }
}

}  // namespace tessaline::emulator
