// The Tessaline Pocket PC emulator: a 240 × 320 Pocket PC running Notes, with the soft input
// panel hosting the device's current input method. With --headless it replays a script of pen
// events, writes screenshots, prints the Notes text and exits.
#include <windows.h>
// The common controls' header needs the Windows header before it.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>

#include "device/DeviceStart.h"
#include "device/SetupAnswer.h"
#include "device/SetupCommand.h"
#include "platform/DeviceState.h"
#include "screen/DeviceWnd.h"
#include "screen/Pen.h"
#include "screen/SystemKeyboardSetup.h"
#include "screen/Utf8.h"
#include "screen/ZoomWnd.h"
#include "script/CommandLine.h"
#include "script/ScriptRunner.h"

namespace tessaline::emulator {
namespace {

// Exit statuses: 0 done; 1 the device could not start; 2 a wrong command line or script.
constexpr int kExitDeviceFailed = 1;
constexpr int kExitUsage = 2;

void Write(DWORD which, const std::string& text) {
  HANDLE handle = GetStdHandle(which);
  if (!handle || handle == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
void Out(const std::string& text) { Write(STD_OUTPUT_HANDLE, text); }
void Err(const std::string& text) { Write(STD_ERROR_HANDLE, "emulator: " + text + "\n"); }

std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(ToUtf8(argv[i]));
  LocalFree(argv);
  return arguments;
}

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream file(FromUtf8(path).c_str(), std::ios::binary);
  if (!file) return false;
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

// `idle` runs after each message, at the top of the device's loop.
int RunMessageLoop(const std::function<void()>& idle) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    idle();
  }
  return static_cast<int>(msg.wParam);
}

int Run(const CommandLine& line) {
  std::vector<ScriptCommand> commands;
  if (!line.script.empty()) {
    std::string text;
    if (!ReadFile(line.script, text)) {
      Err("cannot read the script '" + line.script + "'");
      return kExitUsage;
    }
    ScriptError error;
    if (!ParseScript(text, commands, error)) {
      Err(line.script + ": " + error.message);
      return kExitUsage;
    }
  }
  if (!line.typeText.empty() || !line.typeFile.empty()) {
    Err("typing with --type needs Tessaline's input method, which this device does not have yet");
    return kExitUsage;
  }

  std::wstring setupError;
  if (!EnsureSystemKeyboard(setupError)) Err("system keyboard: " + ToUtf8(setupError));
  // The device starts: a soft reset is over, the panel is hidden, and the user's choice of
  // input method is current again.
  device::BeginDeviceStart();

  CDeviceWnd device;
  DeviceOptions options;
  options.trace = line.trace ? stderr : nullptr;
  // Headless, the device screen is the host's screen: device pixels are screen pixels.
  options.framed = !line.headless && line.zoom == 1;
  if (line.headless || line.zoom > 1) options.position = POINT{0, 0};
  if (!device.Create(options)) {
    Err("cannot create the device window");
    return kExitDeviceFailed;
  }
  std::wstring startError;
  if (!device.StartInputMethod(startError)) Err(ToUtf8(startError));
  ShowWindow(device.Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(device.Handle());
  device.ShowPanel();

  std::unique_ptr<CZoomWnd> zoom;
  if (line.zoom > 1) {
    zoom = std::make_unique<CZoomWnd>();
    if (!zoom->Create(device, line.zoom)) {
      Err("cannot create the zoomed view");
      return kExitDeviceFailed;
    }
    ShowWindow(zoom->Handle(), SW_SHOW);
  } else {
    SetForegroundWindow(device.Handle());
  }

  // Without a person at the device the setup library's questions are answered.
  std::optional<UnattendedDevice> unattended;
  if (line.headless) unattended.emplace();
  DeviceStart start(device, [](const std::string& report) { Err(report); });
  device.SetSoftResetHandler([&start] { start.RequestSoftReset(); });
  start.RunLaunchSlots();

  Pen pen([&device] { return device.DeviceOrigin(); }, zoom ? zoom->Handle() : nullptr);
  int status = 0;
  std::unique_ptr<ScriptRunner> runner;
  if (!commands.empty() || line.headless) {
    runner = std::make_unique<ScriptRunner>(device, pen, FromUtf8(line.shots),
                                            [&](const std::string& error) {
                                              if (!error.empty()) {
                                                Err(line.script + ": " + error);
                                                status = kExitUsage;
                                              }
                                              if (line.headless) PostQuitMessage(0);
                                            });
    runner->SetDeviceStart(start);
    if (!runner->Start(commands)) {
      Err("cannot start the script");
      return kExitDeviceFailed;
    }
  }
  RunMessageLoop([&start] { start.RunPendingReset(); });
  device.SetSoftResetHandler(nullptr);
  const std::wstring notes = device.NotesText();
  device.Host().Deactivate();
  if (line.headless) Out(ToUtf8(notes) + (notes.empty() || notes.back() != L'\n' ? "\n" : ""));
  return status;
}

}  // namespace
}  // namespace tessaline::emulator

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tessaline::emulator;
  CommandLine line;
  std::string error;
  if (!ParseCommandLine(Arguments(), line, error)) {
    Err(error);
    Write(STD_ERROR_HANDLE, kCommandLineUsage);
    return kExitUsage;
  }
  if (line.help) {
    Out(kCommandLineUsage);
    return 0;
  }
  // The platform's input methods are free-threaded in-process servers: created on the panel's
  // own thread, in the multithreaded apartment, they are called directly and not through a proxy.
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
    Err("cannot start COM");
    return kExitDeviceFailed;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const bool setup = line.install || !line.uninstall.empty();
  const int status = setup ? RunSetupCommand(line) : Run(line);
  CoUninitialize();
  return status;
}
