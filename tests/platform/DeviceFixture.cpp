#include "DeviceFixture.h"

#include <gtest/gtest.h>

#include "platform/DeviceRecord.h"
#include "platform/DeviceState.h"
#include "system/WideText.h"

namespace tessaline::testing {
namespace {

const std::wstring kDevice = device::kDeviceKey;

}  // namespace

ValueSnapshot::ValueSnapshot(HKEY root, std::wstring path, std::wstring name)
    : root_(root),
      path_(std::move(path)),
      name_(std::move(name)),
      saved_(ReadRegistryValue(root_, path_, name_)) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, name_.c_str());
    RegCloseKey(key);
  }
}

ValueSnapshot::~ValueSnapshot() {
  if (saved_) {
    WriteRegistryValue(root_, path_, name_, saved_->type, saved_->bytes);
    return;
  }
  HKEY key = nullptr;
  if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, name_.c_str());
    RegCloseKey(key);
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
  if (WaitForSingleObject(process.hProcess, timeoutMilliseconds) != WAIT_OBJECT_0) {
    ADD_FAILURE() << Narrow(path) << " did not end";
    TerminateProcess(process.hProcess, 0xFFFFFFFF);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  run.calls = CallTexts(process.hProcess);
  device::ClearRecordedCalls(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return run;
}

std::string Narrow(const std::wstring& text) { return WideToUtf8(text); }

}  // namespace tessaline::testing
