#include "platform/DeviceRecord.h"

#include <algorithm>
#include <cwchar>

#include "platform/DeviceRegistry.h"
#include "platform/DeviceState.h"
#include "win32/Handles.h"

namespace tessaline::device {
namespace {

const std::wstring kCallsKey = std::wstring(kDeviceKey) + L"\\Calls";

// Holds the record's mutex for the life of the scope. A process that died holding it leaves it
// abandoned, which still hands it over; a wait that times out goes on without it rather than
// lose the call.
class RecordLock {
 public:
  RecordLock() : mutex_(CreateMutexW(nullptr, FALSE, L"TessalineDeviceRecord")) {
    if (mutex_) owned_ = WaitForSingleObject(mutex_.Get(), 5000) != WAIT_TIMEOUT;
  }
  ~RecordLock() {
    if (owned_) ReleaseMutex(mutex_.Get());
  }

 private:
  win32::KernelHandle mutex_;
  bool owned_ = false;
};

std::wstring EntryName(DWORD number) {
  wchar_t name[16];
  std::swprintf(name, 16, L"%08lu", static_cast<unsigned long>(number));
  return name;
}

struct Entry {
  std::wstring name;
  DeviceCall call;
};

struct ProcessIdentity {
  DWORD id = 0;
  uint64_t created = 0;
};

ProcessIdentity Identify(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  return {GetProcessId(process),
          (static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime};
}

bool Made(const DeviceCall& call, const ProcessIdentity& process) {
  return call.process == process.id && call.processCreated == process.created;
}

// The next word of an entry, from `at` on; `at` moves past it and the space after it.
std::wstring Word(const std::wstring& text, size_t& at) {
  const size_t space = text.find(L' ', at);
  const size_t end = space == std::wstring::npos ? text.size() : space;
  std::wstring word = text.substr(std::min(at, text.size()), end - std::min(at, end));
  at = end + 1;
  return word;
}

// "PID CREATED NAME ARGUMENT"; the argument may be empty or hold spaces.
DeviceCall ParseEntry(const std::wstring& text) {
  DeviceCall call;
  size_t at = 0;
  call.process = static_cast<DWORD>(std::wcstoul(Word(text, at).c_str(), nullptr, 10));
  call.processCreated = std::wcstoull(Word(text, at).c_str(), nullptr, 10);
  call.name = Word(text, at);
  if (at < text.size()) call.argument = text.substr(at);
  return call;
}

std::vector<Entry> ReadEntries() {
  std::vector<Entry> entries;
  win32::RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, kCallsKey.c_str(), KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return entries;
  }
  std::vector<std::wstring> names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[32];
    DWORD length = 32;
    const LONG status =
        RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    if (length == 8) names.emplace_back(name, length);
  }
  // Fixed-width numbers: text order is call order.
  std::sort(names.begin(), names.end());
  for (const std::wstring& name : names) {
    const auto text = ReadText(HKEY_LOCAL_MACHINE, kCallsKey.c_str(), name.c_str());
    if (text) entries.push_back({name, ParseEntry(*text)});
  }
  return entries;
}

}  // namespace

void RecordCall(const std::wstring& name, const std::wstring& argument) {
  RecordLock lock;
  const DWORD number = ReadNumber(HKEY_LOCAL_MACHINE, kCallsKey.c_str(), L"Next").value_or(1);
  const ProcessIdentity self = Identify(GetCurrentProcess());
  const std::wstring text = std::to_wstring(self.id) + L" " + std::to_wstring(self.created) + L" " +
                            name + L" " + argument;
  WriteText(HKEY_LOCAL_MACHINE, kCallsKey.c_str(), EntryName(number).c_str(), text);
  WriteNumber(HKEY_LOCAL_MACHINE, kCallsKey.c_str(), L"Next", number + 1);
  if (number > kRecordLimit) {
    DeleteValue(HKEY_LOCAL_MACHINE, kCallsKey.c_str(), EntryName(number - kRecordLimit).c_str());
  }
}

std::vector<DeviceCall> RecordedCalls() {
  RecordLock lock;
  std::vector<DeviceCall> calls;
  for (Entry& entry : ReadEntries()) calls.push_back(std::move(entry.call));
  return calls;
}

std::vector<DeviceCall> RecordedCalls(HANDLE process) {
  const ProcessIdentity identity = Identify(process);
  std::vector<DeviceCall> calls = RecordedCalls();
  std::erase_if(calls, [&](const DeviceCall& call) { return !Made(call, identity); });
  return calls;
}

void ClearRecordedCalls(HANDLE process, const std::wstring& name) {
  const ProcessIdentity identity = Identify(process);
  RecordLock lock;
  for (const Entry& entry : ReadEntries()) {
    if (Made(entry.call, identity) && (name.empty() || entry.call.name == name)) {
      DeleteValue(HKEY_LOCAL_MACHINE, kCallsKey.c_str(), entry.name.c_str());
    }
  }
}

void ClearRecordedCalls() {
  RecordLock lock;
  for (const Entry& entry : ReadEntries()) {
    DeleteValue(HKEY_LOCAL_MACHINE, kCallsKey.c_str(), entry.name.c_str());
  }
}

}  // namespace tessaline::device
