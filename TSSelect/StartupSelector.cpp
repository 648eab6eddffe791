#include "StartupSelector.h"

#include <objbase.h>

#include <cstring>

#include "platform/LaunchArguments.h"
#include "platform/DeviceServices.h"
#include "system/ProductIds.h"

namespace tessaline::select {
namespace {

constexpr const wchar_t* kInputMethodClass = kInputMethodClassId;

// The device needs time after a start before an input method can be chosen, and other programs
// of the start-up sequence may choose their own: hence the first pause and the second look.
constexpr DWORD kFirstPause = 20000;
constexpr DWORD kSecondPause = 40000;

}  // namespace

int RunStartupSelector(const std::vector<std::wstring>& arguments, const Pause& pause) {
  if (!arguments.empty()) SignalStarted(device::DecimalArgument(arguments[0]));
  CLSID wanted{};
  if (CLSIDFromString(kInputMethodClass, &wanted) != S_OK) return 0;
  pause(kFirstPause);
  SipSetCurrentIM(&wanted);
  pause(kSecondPause);
  CLSID current{};
  SipGetCurrentIM(&current);
  if (std::memcmp(&current, &wanted, sizeof(CLSID)) != 0) SipSetCurrentIM(&wanted);
  return 0;
}

}  // namespace tessaline::select
