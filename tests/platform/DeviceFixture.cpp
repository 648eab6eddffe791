#include "DeviceFixture.h"

#include <gtest/gtest.h>

#include "platform/DeviceRecord.h"
#include "platform/DeviceState.h"
#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline::testing {
namespace {

const std::wstring kDevice = device::kDeviceKey;

}  // namespace

ValueSnapshot::ValueSnapshot(HKEY root, std::wstring path, std::wstring name)
    : root_(root),
      path_(std::move(path)),
      name_(std::move(name)),
      saved_(ReadRegistryValue(root_, path_, name_)) {
  win32::RegKey key;
  if (key.Open(root_, path_.c_str(), KEY_SET_VALUE) == ERROR_SUCCESS) {
    RegDeleteValueW(key.Get(), name_.c_str());
  }
}

ValueSnapshot::~ValueSnapshot() {
  if (saved_) {
    WriteRegistryValue(root_, path_, name_, saved_->type, saved_->bytes);
    return;
  }
  win32::RegKey key;
  if (key.Open(root_, path_.c_str(), KEY_SET_VALUE) == ERROR_SUCCESS) {
    RegDeleteValueW(key.Get(), name_.c_str());
  }
}

DeviceStateScope::DeviceStateScope()
    : current_(HKEY_LOCAL_MACHINE, kDevice, L"CurrentIm"),
      flags_(HKEY_LOCAL_MACHINE, kDevice, L"SipFlags"),
      reset_(HKEY_LOCAL_MACHINE, kDevice, L"SoftReset"),
      pause_(HKEY_LOCAL_MACHINE, kDevice, L"PausePercent"),
      defaultIm_(HKEY_CURRENT_USER, device::kSipKey, device::kDefaultImValue),
      started_(HKEY_LOCAL_MACHINE, kDevice + L"\\Started") {
  started_.Remove();
  device::ClearRecordedCalls(GetCurrentProcess());
}

DeviceStateScope::~DeviceStateScope() { device::ClearRecordedCalls(GetCurrentProcess()); }

RegisteredClass::RegisteredClass(const std::wstring& clsid, const std::wstring& name,
                                 const std::wstring& library, bool isInputMethod)
    : text_(clsid), snapshot_(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid) {
  snapshot_.Remove();
  const std::wstring key = L"CLSID\\" + clsid;
  WriteRegistryValue(HKEY_CLASSES_ROOT, key, L"", REG_SZ, TextBytes(name));
  WriteRegistryValue(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", L"", REG_SZ, TextBytes(library));
  if (isInputMethod) {
    WriteRegistryValue(HKEY_CLASSES_ROOT, key + L"\\IsSIPInputMethod", L"", REG_SZ,
                       TextBytes(L"1"));
  }
}

RegisteredClass::~RegisteredClass() = default;

CLSID RegisteredClass::Clsid() const { return device::ClassFromText(text_).value_or(CLSID{}); }

std::vector<std::wstring> CallTexts(HANDLE process) {
  std::vector<std::wstring> texts;
  for (const device::DeviceCall& call : device::RecordedCalls(process)) {
    texts.push_back(call.argument.empty() ? call.name : call.name + L" " + call.argument);
  }
  return texts;
}

std::vector<std::wstring> MyCalls() { return CallTexts(GetCurrentProcess()); }

std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\'));
}

ProgramRun RunProgram(const std::wstring& path, const std::wstring& arguments,
                      DWORD timeoutMilliseconds) {
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ProgramRun run;
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start " << Narrow(path) << ", error " << GetLastError();
    run.exitCode = 0xFFFFFFFF;
    return run;
  }
  const win32::Process started(process);
  if (WaitForSingleObject(started.Get(), timeoutMilliseconds) != WAIT_OBJECT_0) {
    ADD_FAILURE() << Narrow(path) << " did not end";
    TerminateProcess(started.Get(), 0xFFFFFFFF);
    WaitForSingleObject(started.Get(), INFINITE);
  }
  GetExitCodeProcess(started.Get(), &run.exitCode);
  run.calls = CallTexts(started.Get());
  device::ClearRecordedCalls(started.Get());
  return run;
}

std::string Narrow(const std::wstring& text) { return WideToUtf8(text); }

}  // namespace tessaline::testing
