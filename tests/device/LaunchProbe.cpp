// A start-up program for the soft reset's tests: it writes its argument (its launch slot) to
// launch-probe.txt beside itself, then gives its start-up signal, except in slot 72, where it
// ends without one as a broken program would.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/DeviceServices.h"
#include "win32/Handles.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring record = self;
  record = record.substr(0, record.find_last_of(L'\\') + 1) + L"launch-probe.txt";
  {
    const tessaline::win32::KernelHandle file(CreateFileW(record.c_str(), FILE_APPEND_DATA,
                                                          FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string line;
    for (const wchar_t* at = arguments; *at; ++at) line.push_back(static_cast<char>(*at));
    line += "\n";
    DWORD written = 0;
    WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }  // closed before the slot signals
  const int slot = _wtoi(arguments);
  if (slot == 72) return 0;
  SignalStarted(static_cast<DWORD>(slot));
  // Still running after its signal, as a real program is: the next one must not wait for it.
  Sleep(2000);
  return 0;
}
