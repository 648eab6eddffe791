// A setup hook library for the installer's and uninstaller's tests: it records each call with
// its arguments and whether the package's file payload.txt lies in the installation folder at
// that moment, refuses the installation when told to, and asks one question at the removal
// through the host's message procedure. The test loads it before the installer does, so that
// both share one copy and the test reads the record afterwards.
#include <windows.h>

#include <string>

namespace {

std::wstring record;
int installInitResult = 0;
int(CALLBACK* messageProc)(HWND, LPCWSTR, LPCWSTR, UINT) = nullptr;

std::wstring PayloadState(LPCWSTR folder) {
  const std::wstring payload = std::wstring(L"C:") + (folder ? folder : L"") + L"\\payload.txt";
  return GetFileAttributesW(payload.c_str()) != INVALID_FILE_ATTRIBUTES ? L" payload" : L"";
}

void Add(const std::wstring& line) { record += line + L"\n"; }

}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI
    Install_Init(HWND, BOOL firstCall, BOOL previouslyInstalled, LPCWSTR folder) {
  Add(L"Install_Init " + std::to_wstring(firstCall) + L" " + std::to_wstring(previouslyInstalled) +
      L" " + folder + PayloadState(folder));
  return installInitResult;
}

__declspec(dllexport) int WINAPI
    Install_Exit(HWND, LPCWSTR folder, WORD failedFolders, WORD failedFiles, WORD failedKeys,
                 WORD failedValues, WORD failedShortcuts) {
  Add(L"Install_Exit " + std::wstring(folder) + L" " + std::to_wstring(failedFolders) + L" " +
      std::to_wstring(failedFiles) + L" " + std::to_wstring(failedKeys) + L" " +
      std::to_wstring(failedValues) + L" " + std::to_wstring(failedShortcuts) +
      PayloadState(folder));
  return 0;
}

__declspec(dllexport) int WINAPI Uninstall_Init(HWND, LPCWSTR folder) {
  const int answer =
      messageProc ? messageProc(nullptr, L"Remove it?\nReally", L"", MB_OKCANCEL) : 0;
  Add(L"Uninstall_Init " + std::wstring(folder) + L" answer " + std::to_wstring(answer) +
      PayloadState(folder));
  return 0;
}

__declspec(dllexport) int WINAPI Uninstall_Exit(HWND) {
  Add(L"Uninstall_Exit" + PayloadState(L"\\Program files\\Tessaline"));
  return 0;
}

__declspec(dllexport) void WINAPI
    SetSetupMessageProc(int(CALLBACK* proc)(HWND, LPCWSTR, LPCWSTR, UINT)) {
  messageProc = proc;
}

__declspec(dllexport) const wchar_t* WINAPI HookRecord() { return record.c_str(); }

__declspec(dllexport) void WINAPI SetInstallInitResult(int result) { installInitResult = result; }

}  // extern "C"
