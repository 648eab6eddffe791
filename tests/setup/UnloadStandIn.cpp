// A stand-in for the platform's uninstaller "unload.exe": it waits until the test lets it go
// (the named event "TessalineUnloadGo", at most 30 seconds), so that the test can see that its
// starter did not wait for it, then writes its arguments (the command line after its own name)
// to the file named by TESSALINE_UNLOAD_RECORD.
#include <windows.h>

#include <string>

#include "win32/Handles.h"

using tessaline::win32::KernelHandle;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  if (const KernelHandle go(OpenEventW(SYNCHRONIZE, FALSE, L"TessalineUnloadGo")); go) {
    WaitForSingleObject(go.Get(), 30000);
  }
  wchar_t record[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"TESSALINE_UNLOAD_RECORD", record, MAX_PATH)) return 1;
  // Written beside it first, so that the test never reads half a record.
  const std::wstring partial = std::wstring(record) + L".part";
  {
    const KernelHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 1;
    const std::wstring text(arguments);
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
              &written, nullptr);
  }  // closed before it is renamed
  return MoveFileW(partial.c_str(), record) ? 0 : 1;
}
