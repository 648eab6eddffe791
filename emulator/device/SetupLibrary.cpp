#include "device/SetupLibrary.h"

#include "system/WideText.h"

namespace tessaline::emulator {
namespace {

typedef int(CALLBACK* SetupMessageProc)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);
typedef void(WINAPI* SetSetupMessageProcProc)(SetupMessageProc proc);

// The library's message procedure has no context of its own: one library answers at a time.
struct Answering {
  int answer = IDOK;
  SetupOutput output;
};
Answering& CurrentAnswering() {
  static Answering answering;
  return answering;
}

int CALLBACK AnswerMessage(HWND, LPCWSTR text, LPCWSTR caption, UINT style) {
  const Answering& answering = CurrentAnswering();
  const int answer = AnswerFor(style, answering.answer);
  if (answering.output) {
    std::wstring shown = caption && *caption ? std::wstring(caption) + L": " : std::wstring();
    shown += OneLine(text ? text : L"");
    answering.output("message: " + WideToUtf8(shown) + " -> " + AnswerName(answer));
  }
  return answer;
}

}  // namespace

SetupLibrary::~SetupLibrary() { Unload(); }

bool SetupLibrary::Load(const std::wstring& path, std::wstring& error) {
  Unload();
  library_.Reset(LoadLibraryW(path.c_str()));
  if (!library_) {
    error = L"cannot load the setup library " + path;
    return false;
  }
  return true;
}

void SetupLibrary::Unload() {
  if (answering_) {
    if (auto set = library_.Find<SetSetupMessageProcProc>("SetSetupMessageProc")) set(nullptr);
    answering_ = false;
  }
  library_.Reset();
}

bool SetupLibrary::AnswerMessages(int answer, SetupOutput output) {
  const auto set = library_.Find<SetSetupMessageProcProc>("SetSetupMessageProc");
  if (!set) return false;
  CurrentAnswering() = Answering{answer, std::move(output)};
  set(AnswerMessage);
  answering_ = true;
  return true;
}

codeINSTALL_INIT SetupLibrary::InstallInit(HWND parent, bool previouslyInstalled,
                                           const std::wstring& folder) {
  const auto hook = library_.Find<InstallInitProc>(kInstallInitName);
  return hook ? hook(parent, TRUE, previouslyInstalled ? TRUE : FALSE, folder.c_str())
              : codeINSTALL_INIT_CONTINUE;
}

codeINSTALL_EXIT SetupLibrary::InstallExit(HWND parent, const std::wstring& folder,
                                           WORD failedFiles) {
  const auto hook = library_.Find<InstallExitProc>(kInstallExitName);
  return hook ? hook(parent, folder.c_str(), 0, failedFiles, 0, 0, 0) : codeINSTALL_EXIT_DONE;
}

codeUNINSTALL_INIT SetupLibrary::UninstallInit(HWND parent, const std::wstring& folder) {
  const auto hook = library_.Find<UninstallInitProc>(kUninstallInitName);
  return hook ? hook(parent, folder.c_str()) : codeUNINSTALL_INIT_CONTINUE;
}

codeUNINSTALL_EXIT SetupLibrary::UninstallExit(HWND parent) {
  const auto hook = library_.Find<UninstallExitProc>(kUninstallExitName);
  return hook ? hook(parent) : codeUNINSTALL_EXIT_DONE;
}

}  // namespace tessaline::emulator
