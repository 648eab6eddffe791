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
#include "platform/DeviceServices.h"
#include "platform/DeviceState.h"
#include "screen/DeviceWnd.h"
#include "screen/Pen.h"
#include "screen/SystemKeyboardSetup.h"
#include "screen/ZoomWnd.h"
#include "script/CommandLine.h"
#include "script/ScriptRunner.h"
#include "system/ProductIds.h"
#include "system/WideText.h"
#include "typist/Benchmark.h"
#include "typist/TypingPlan.h"
#include "typist/Typist.h"
#include "win32/Handles.h"

namespace tessaline::emulator {
namespace {

// Exit statuses: 0 done; 1 the device could not start; 2 a wrong command line or script.
constexpr int kExitDeviceFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitTypedWrong = 3;
constexpr int kShowingRounds = 30;  // the typist's Notes text differs from its text

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
  const win32::LocalMemory<LPWSTR> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::string> arguments;
  if (!argv) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(WideToUtf8(argv.Get()[i]));
  return arguments;
}

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream file(Utf8ToWin32Wide(path).c_str(), std::ios::binary);
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

// What the installer does at its end: the input method becomes current through the device
// services.
int SelectInputMethod(const std::string& text) {
  CLSID clsid{};
  if (CLSIDFromString(Utf8ToWin32Wide(text).c_str(), &clsid) != S_OK) {
    Err("'" + text + "' is not a class id ({XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX})");
    return kExitUsage;
  }
  if (!SipSetCurrentIM(&clsid)) {
    Err(text + " is not an input method installed on the device");
    return kExitDeviceFailed;
  }
  return 0;
}

int Run(const CommandLine& line) {
  if (!line.selectIm.empty()) return SelectInputMethod(line.selectIm);
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
  std::vector<TypingText> texts;
  for (const TypingPart& part : line.typing) {
    std::string text = part.text;
    if (!part.file.empty() && !ReadFile(part.file, text)) {
      Err("cannot read the text '" + part.file + "'");
      return kExitUsage;
    }
    if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    texts.push_back({Utf8ToWide(part.language), Utf8ToWide(text)});
  }
  if (line.demo || (line.bench && texts.empty())) {
    texts.push_back({u"English", typist::kEnglishDemoParagraph});
    texts.push_back({u"German", WideString(u"\n") + typist::kGermanDemoParagraph});
  }
  std::string typingError;
  if (!texts.empty() && !SelectTypingLanguages(texts, typingError)) {
    Err(typingError);
    return kExitUsage;
  }

  std::wstring setupError;
  if (!EnsureSystemKeyboard(setupError)) Err("system keyboard: " + WideToUtf8(setupError));
  // The device starts: a soft reset is over, the panel is hidden, and the user's choice of
  // input method is current again.
  device::BeginDeviceStart();

  CDeviceWnd device;
  DeviceOptions options;
  options.trace = line.trace ? stderr : nullptr;
  // Headless, the device screen is the host's screen: device pixels are screen pixels. In a
  // window the device lies beneath its view, which a person sees and touches at every zoom.
  options.position = POINT{0, 0};
  if (!device.Create(options)) {
    Err("cannot create the device window");
    return kExitDeviceFailed;
  }
  // The typist plans before the input method is made: its own copies of the languages are then
  // part of the memory the process had before, and the input method's figure leaves them out.
  Pen pen([&device] { return device.DeviceOrigin(); }, nullptr);
  PenUpSamples penUpToPaint;
  std::unique_ptr<Typist> typist;
  if (!texts.empty()) {
    typist = std::make_unique<Typist>(device, pen);
    if (line.bench) typist->MeasureInto(&penUpToPaint);
    if (!line.shots.empty()) typist->SetShotsFolder(Utf8ToWin32Wide(line.shots));
    if (!typist->Plan(texts, true, typingError)) {
      Err(typingError);
      return kExitUsage;
    }
  }
  const MemoryFigures memoryBefore = ProcessMemory();
  const AddressSpace spaceBefore = line.bench ? WalkAddressSpace() : AddressSpace{};
  std::wstring startError;
  if (!device.StartInputMethod(startError)) Err(WideToUtf8(startError));
  ShowWindow(device.Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(device.Handle());
  const double showStart = NowMilliseconds();
  device.ShowPanel();
  if (HWND input = FindWindowExW(device.SipWindow(), nullptr, kInputWindowClass, nullptr)) {
    UpdateWindow(input);
  }
  const double firstShowing = NowMilliseconds() - showStart;
  // The input method reads its first language once the panel is painted, when the thread next
  // looks at its messages: the bench lets it, and takes the time to then and the memory after.
  double firstShowingReady = firstShowing;
  if (line.bench) {
    RunWaitingMessages();
    firstShowingReady = NowMilliseconds() - showStart;
  }
  const AddressSpace spaceShowing = line.bench ? WalkAddressSpace() : AddressSpace{};

  std::unique_ptr<CZoomWnd> zoom;
  if (!line.headless) {
    zoom = std::make_unique<CZoomWnd>();
    if (!zoom->Create(device, line.zoom)) {
      Err("cannot create the device's view");
      return kExitDeviceFailed;
    }
    ShowWindow(zoom->Handle(), SW_SHOWNOACTIVATE);
    pen.SetSkip(zoom->Handle());
  }
  // The device is the active window, its Notes box has the focus and the host's keys.
  SetForegroundWindow(device.Handle());

  // Without a person at the device the setup library's questions are answered.
  std::optional<UnattendedDevice> unattended;
  if (line.headless) unattended.emplace();
  DeviceStart start(device, [](const std::string& report) { Err(report); });
  device.SetSoftResetHandler([&start] { start.RequestSoftReset(); });
  start.RunLaunchSlots();

  int status = 0;
  std::unique_ptr<ScriptRunner> runner;
  if (typist) {
    runner = std::make_unique<ScriptRunner>(device, pen, Utf8ToWin32Wide(line.shots),
                                            [&](const std::string& error) {
                                              if (!error.empty()) {
                                                Err(error);
                                                status = kExitTypedWrong;
                                              }
                                              PostQuitMessage(0);
                                            });
    runner->SetDeviceStart(start);
    if (!runner->Start(commands)) {
      Err("cannot start the typist");
      return kExitDeviceFailed;
    }
    typist->Queue(*runner);
    if (!line.shots.empty()) typist->QueueShot(*runner, L"999-end");
  } else if (!commands.empty() || line.headless) {
    runner = std::make_unique<ScriptRunner>(device, pen, Utf8ToWin32Wide(line.shots),
                                            [&](const std::string& error) {
                                              if (!error.empty()) {
                                                Err(line.script + ": " + error);
                                                status = kExitUsage;
                                              }
                                              if (line.headless) PostQuitMessage(0);
                                            });
    runner->SetDeviceStart(start);
    // A script's 'type' lines go to a typist of their own, planned as the script is read.
    auto scriptTypist = std::make_shared<Typist>(device, pen);
    runner->SetTyper([scriptTypist, &runner](const std::string& text) {
      std::string error;
      if (!scriptTypist->Plan({{WideString(), Utf8ToWide(text)}}, false, error)) return error;
      scriptTypist->Queue(*runner);
      return std::string();
    });
    if (!runner->Start(commands)) {
      Err("cannot start the script");
      return kExitDeviceFailed;
    }
  }
  RunMessageLoop([&start] { start.RunPendingReset(); });
  device.SetSoftResetHandler(nullptr);
  const std::wstring notes = device.NotesText();
  std::string bench;
  if (line.bench && status == 0) {
    // Memory after the typing, then Showing after a change of settings, again and again.
    const AddressSpace spaceTyped = WalkAddressSpace();
    const HMODULE library = device.Host().MethodModule();
    bench += DescribeOwnMemory("after Showing", OwnMemorySince(spaceBefore, spaceShowing, library));
    bench += DescribeOwnMemory("after typing", OwnMemorySince(spaceBefore, spaceTyped, library));
    bench += DescribeMemory("of the process before the input method", memoryBefore);
    bench += DescribeMemory("of the process after typing", ProcessMemory());
    bench += penUpToPaint.Describe();
    char first[200];
    std::snprintf(first, sizeof(first),
                  "first Showing to the panel painted: %.2f ms (to its first language read, "
                  "the waiting messages handled: %.2f ms)\n",
                  firstShowing, firstShowingReady);
    bench += first;
    Samples showing;
    for (int i = 0; i < kShowingRounds; ++i) showing.Add(MeasureShowing(device));
    bench += showing.Describe("Showing after a change of settings to the panel painted");
    bench += DescribeOwnMemory("after the Showing rounds",
                               OwnMemorySince(spaceBefore, WalkAddressSpace(), library));
  }
  device.Host().Deactivate();
  if (typist) {
    // The taps, then the Notes text exactly as it is, last.
    Out(typist->Report() + bench);
    const WideString expected = typist->Expected();
    if (status == 0 && WideString(notes.begin(), notes.end()) != expected) {
      Err("the Notes text differs from the text asked for");
      status = kExitTypedWrong;
    }
    Out("== Notes text\n" + WideToUtf8(notes));
    return status;
  }
  if (line.headless) {
    Out(WideToUtf8(notes) + (notes.empty() || notes.back() != L'\n' ? "\n" : ""));
  } else {
    // The window closed: what was typed, as the typist's run reports it.
    Out("== Notes text\n" + WideToUtf8(notes));
  }
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
