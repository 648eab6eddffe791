// An application's setup hook library as the device's installer and uninstaller use it: loaded
// by path, its hooks found by name and called with the protocol's arguments. A hook the library
// does not export lets the installation go on. On a device without a person the library's
// messages are printed and answered through its SetSetupMessageProc export.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "device/SetupAnswer.h"
#include "platform/SetupHooks.h"
#include "win32/Handles.h"

namespace tessaline::emulator {

class SetupLibrary {
 public:
  SetupLibrary() = default;
  ~SetupLibrary();
  SetupLibrary(const SetupLibrary&) = delete;
  SetupLibrary& operator=(const SetupLibrary&) = delete;

  // False, with the reason, when the file does not load.
  bool Load(const std::wstring& path, std::wstring& error);
  // Frees the library (its messages are answered no more).
  void Unload();
  bool IsLoaded() const { return static_cast<bool>(library_); }

  // From now on each message is written to `output` with its answer and answered so: `answer`
  // for a question, OK for a plain message. False when the library cannot hand its messages to
  // a host (its message boxes would then wait for a person).
  bool AnswerMessages(int answer, SetupOutput output);

  codeINSTALL_INIT InstallInit(HWND parent, bool previouslyInstalled, const std::wstring& folder);
  codeINSTALL_EXIT InstallExit(HWND parent, const std::wstring& folder, WORD failedFiles);
  codeUNINSTALL_INIT UninstallInit(HWND parent, const std::wstring& folder);
  codeUNINSTALL_EXIT UninstallExit(HWND parent);

 private:
  win32::Library library_;
  bool answering_ = false;
};

}  // namespace tessaline::emulator
