// The record of device services calls. Every call of TSDevice.dll is written into the emulated
// device's registry (HKEY_LOCAL_MACHINE\Software\EmulatedDevice\Calls), so that a test reads the
// calls that a program made in another process. Each entry names the calling process, so that
// suites running side by side each read and clear only their own calls.
//
// Entries are numbered values "00000001", "00000002", ... holding "PID NAME ARGUMENT" (REG_SZ);
// the value "Next" holds the next number. A named mutex keeps two processes from taking the
// same number. The record keeps the last kRecordLimit calls.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tessaline::device {

struct DeviceCall {
  DWORD process = 0;
  std::wstring name;      // "SipShowIM", "SipSetCurrentIM", ...
  std::wstring argument;  // the call's argument as text: flags and slots in decimal, classes as
                          // "{...}", the request code of KernelIoControl in hex ("0x0101003C")
  bool operator==(const DeviceCall&) const = default;
};

inline constexpr DWORD kRecordLimit = 1000;

void RecordCall(const std::wstring& name, const std::wstring& argument);

// Oldest first: every process's calls, or one process's.
std::vector<DeviceCall> RecordedCalls();
std::vector<DeviceCall> RecordedCalls(DWORD process);

// Removes one process's calls (only those of that name when a name is given), or all calls.
void ClearRecordedCalls(DWORD process, const std::wstring& name = L"");
void ClearRecordedCalls();

}  // namespace tessaline::device
