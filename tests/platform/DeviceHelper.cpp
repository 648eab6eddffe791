// A second process on the emulated device for the device services tests: makes one call given on
// its command line and ends with exit code 0 when the call succeeded (or, for "expect", when the
// current input method is the one named), 1 when it did not, 2 for a command it does not know.
//
//   device_helper show FLAGS | set {CLSID} | expect {CLSID} | reboot | signal SLOT
#include <windows.h>

#include <cwchar>

#include "platform/DeviceServices.h"
#include "platform/DeviceState.h"

int wmain(int argc, wchar_t** argv) {
  using tessaline::device::ClassFromText;
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  const std::wstring argument = argc > 2 ? argv[2] : L"";
  if (command == L"show") return SipShowIM(std::wcstoul(argument.c_str(), nullptr, 10)) ? 0 : 1;
  if (command == L"set") {
    CLSID clsid = ClassFromText(argument).value_or(CLSID{});
    return SipSetCurrentIM(&clsid) ? 0 : 1;
  }
  if (command == L"expect") {
    CLSID current{};
    return SipGetCurrentIM(&current) && current == ClassFromText(argument).value_or(CLSID{}) ? 0
                                                                                             : 1;
  }
  if (command == L"reboot") {
    return KernelIoControl(IOCTL_HAL_REBOOT, nullptr, 0, nullptr, 0, nullptr) ? 0 : 1;
  }
  if (command == L"signal") {
    SignalStarted(std::wcstoul(argument.c_str(), nullptr, 10));
    return 0;
  }
  return 2;
}
