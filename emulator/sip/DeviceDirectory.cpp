// The input method directory served by the device services: the emulator asks the device as
// any program on it would, so a choice made by another program (the installer, the start-up
// selector) is the same choice the emulator sees.
#include <objbase.h>

#include "msim/SystemKeyboard.h"
#include "platform/DeviceServices.h"
#include "sip/InputMethodDirectory.h"

namespace tessaline::emulator {
namespace {

// SipEnumIM reports through a plain callback without a context: the list being filled is the
// one of the enumeration in progress on this thread.
thread_local std::vector<InstalledInputMethod>* enumerating = nullptr;

int CALLBACK CollectInputMethod(IMENUMINFO* info) {
  if (!enumerating || !info) return 0;
  InstalledInputMethod method;
  method.clsid = info->clsid;
  info->szName[MAX_PATH - 1] = L'\0';
  method.name = info->szName;
  if (method.name.empty()) method.name = ClsidText(method.clsid);
  enumerating->push_back(std::move(method));
  return 1;
}

class DeviceDirectory final : public InputMethodDirectory {
 public:
  std::vector<InstalledInputMethod> Enumerate() override {
    std::vector<InstalledInputMethod> found;
    std::vector<InstalledInputMethod>* outer = enumerating;
    enumerating = &found;
    SipEnumIM(CollectInputMethod);
    enumerating = outer;
    return found;
  }

  bool GetCurrent(CLSID& clsid) override { return SipGetCurrentIM(&clsid) != FALSE; }

  bool SetCurrent(const CLSID& clsid) override {
    CLSID copy = clsid;
    return SipSetCurrentIM(&copy) != FALSE;
  }
};

}  // namespace

std::unique_ptr<InputMethodDirectory> CreateDeviceDirectory() {
  return std::make_unique<DeviceDirectory>();
}

std::wstring ClsidText(const CLSID& clsid) {
  wchar_t text[64] = {};
  StringFromGUID2(clsid, text, 64);
  return text;
}

bool ChooseInputMethod(InputMethodDirectory& directory, CLSID& clsid, bool* current) {
  if (current) *current = false;
  const std::vector<InstalledInputMethod> installed = directory.Enumerate();
  if (installed.empty()) return false;
  CLSID named{};
  if (directory.GetCurrent(named)) {
    for (const InstalledInputMethod& method : installed) {
      if (method.clsid == named) {
        clsid = named;
        if (current) *current = true;
        return true;
      }
    }
  }
  for (const InstalledInputMethod& method : installed) {
    if (method.clsid == msim::CLSID_SystemKeyboard) {
      clsid = method.clsid;
      return true;
    }
  }
  clsid = installed.front().clsid;
  return true;
}

}  // namespace tessaline::emulator
