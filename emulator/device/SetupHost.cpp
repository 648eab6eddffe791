#include "device/SetupHost.h"

#include "platform/DeviceNotify.h"
#include "win32/Handles.h"

namespace tessaline::emulator {
namespace {

HRESULT CallRegistration(const std::wstring& path, const char* name) {
  // The library's own dependencies are looked for beside it, as regsvr32 does.
  win32::Library library(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!library) return HRESULT_FROM_WIN32(GetLastError());
  using Registration = HRESULT(STDAPICALLTYPE*)();
  const auto call = library.Find<Registration>(name);
  return call ? call() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

}  // namespace

void WriteOutputLine(const std::string& line) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

SetupHost DeviceSetupHost(bool unattended, SetupOutput output) {
  SetupHost host;
  host.owner = FindWindowW(device::kEmulatorWindowClass, nullptr);
  host.answer = DeviceSetupAnswer();
  if (!host.answer && unattended) host.answer = IDOK;
  host.output = std::move(output);
  return host;
}

HRESULT RegisterLibrary(const std::wstring& path) {
  return CallRegistration(path, "DllRegisterServer");
}

HRESULT UnregisterLibrary(const std::wstring& path) {
  return CallRegistration(path, "DllUnregisterServer");
}

}  // namespace tessaline::emulator
