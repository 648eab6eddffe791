#include "platform/Sip.h"

#include <cwchar>

#include "platform/DeviceRecord.h"

namespace tessaline::platform {

std::vector<DWORD> SipShowIMCalls() {
  std::vector<DWORD> flags;
  for (const device::DeviceCall& call : device::RecordedCalls(GetCurrentProcess())) {
    if (call.name == L"SipShowIM") {
      flags.push_back(static_cast<DWORD>(std::wcstoul(call.argument.c_str(), nullptr, 10)));
    }
  }
  return flags;
}

void ClearSipShowIMCalls() { device::ClearRecordedCalls(GetCurrentProcess(), L"SipShowIM"); }

}  // namespace tessaline::platform
