#include "device/SetupAnswer.h"

#include "platform/DeviceRegistry.h"
#include "platform/DeviceState.h"

namespace tessaline::emulator {

std::optional<int> DeviceSetupAnswer() {
  const auto answer = device::ReadNumber(HKEY_LOCAL_MACHINE, device::kDeviceKey, L"SetupAnswer");
  if (!answer) return std::nullopt;
  return static_cast<int>(*answer);
}

void SetDeviceSetupAnswer(std::optional<int> answer) {
  if (answer) {
    device::WriteNumber(HKEY_LOCAL_MACHINE, device::kDeviceKey, L"SetupAnswer",
                        static_cast<DWORD>(*answer));
  } else {
    device::DeleteValue(HKEY_LOCAL_MACHINE, device::kDeviceKey, L"SetupAnswer");
  }
}

UnattendedDevice::UnattendedDevice() : saved_(DeviceSetupAnswer()) {
  if (!saved_) SetDeviceSetupAnswer(IDOK);
}

UnattendedDevice::~UnattendedDevice() { SetDeviceSetupAnswer(saved_); }

int AnswerFor(UINT style, int answer) { return (style & MB_TYPEMASK) == MB_OK ? IDOK : answer; }

const char* AnswerName(int answer) {
  switch (answer) {
    case IDOK:
      return "OK";
    case IDCANCEL:
      return "Cancel";
    case IDYES:
      return "Yes";
    case IDNO:
      return "No";
    default:
      return "?";
  }
}

std::wstring OneLine(const std::wstring& text) {
  std::wstring line;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    if (c == L'\n') {
      line += L" / ";
    } else {
      line.push_back(c);
    }
  }
  return line;
}

}  // namespace tessaline::emulator
