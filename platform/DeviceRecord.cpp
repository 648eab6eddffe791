#include "platform/DeviceRecord.h"

#include <algorithm>
#include <cwchar>

#include "platform/DeviceRegistry.h"
#include "platform/DeviceState.h"
#include "system/win32/Handles.h"

namespace tessaline::device {
namespace {

const std::wstring kCallsKey = std::wstring(kDeviceKey) + L"\\Calls";

// Holds the record's mutex for the life of the scope. A process that died holding it leaves it
// abandoned, which still hands it over; a wait that times out goes on without it rather than
// lose the call.
class RecordLock {
 public:
  RecordLock() : mutex_(CreateMutexW(nullptr, FALSE, L"TessalineDeviceRecord")) {
    if (mutex_) owned_ = WaitForSingleObject(mutex_, 5000) != WAIT_TIMEOUT;
  }
  ~RecordLock() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
  }
  RecordLock(const RecordLock&) = delete;
  RecordLock& operator=(const RecordLock&) = delete;

 private:
  HANDLE mutex_;
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

// "PID NAME ARGUMENT"; the argument may be empty or hold spaces.
DeviceCall ParseEntry(const std::wstring& text) {
  DeviceCall call;
  const size_t first = text.find(L' ');
  call.process = static_cast<DWORD>(std::wcstoul(text.substr(0, first).c_str(), nullptr, 10));
  if (first == std::wstring::npos) return call;
  const size_t second = text.find(L' ', first + 1);
  call.name = text.substr(first + 1, second == std::wstring::npos ? second : second - first - 1);
  if (second != std::wstring::npos) call.argument = text.substr(second + 1);
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
  const std::wstring text = std::to_wstring(GetCurrentProcessId()) + L" " + name + L" " + argument;
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

std::vector<DeviceCall> RecordedCalls(DWORD process) {
  std::vector<DeviceCall> calls = RecordedCalls();
  std::erase_if(calls, [process](const DeviceCall& call) { return call.process != process; });
  return calls;
}

void ClearRecordedCalls(DWORD process, const std::wstring& name) {
  RecordLock lock;
  for (const Entry& entry : ReadEntries()) {
    if (entry.call.process == process && (name.empty() || entry.call.name == name)) {
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
