// The record of device services calls. Every call of TSDevice.dll is written into the emulated
// device's registry (HKEY_LOCAL_MACHINE\Software\EmulatedDevice\Calls), so that a test reads the
// calls that a program made in another process. Each entry names the calling process by its id
// and its creation time (ids come back quickly, the pair never does), so that suites running
// side by side each read and clear only their own calls.
//
// Entries are numbered values "00000001", "00000002", ... holding "PID CREATED NAME ARGUMENT"
// (REG_SZ; CREATED is the process's creation time as a decimal FILETIME); the value "Next" holds
// the next number. A named mutex keeps two processes from taking the
// same number. The record keeps the last kRecordLimit calls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tessaline::device {

struct DeviceCall {
  DWORD process = 0;
  uint64_t processCreated = 0;
  std::wstring name;      // "SipShowIM", "SipSetCurrentIM", ...
  std::wstring argument;  // the call's argument as text: flags and slots in decimal, classes as
                          // "{...}", the request code of KernelIoControl in hex ("0x0101003C")
  bool operator==(const DeviceCall&) const = default;
};

inline constexpr DWORD kRecordLimit = 1000;

void RecordCall(const std::wstring& name, const std::wstring& argument);

// Oldest first: every process's calls, or those of one process (a handle that may query it,
// GetCurrentProcess() for the caller's own; an ended process's handle serves while it is open).
std::vector<DeviceCall> RecordedCalls();
std::vector<DeviceCall> RecordedCalls(HANDLE process);

// Removes one process's calls (only those of that name when a name is given), or all calls.
void ClearRecordedCalls(HANDLE process, const std::wstring& name = L"");
void ClearRecordedCalls();

}  // namespace tessaline::device
