// What the tests of the device services, the setup hooks and the two programs share: the device's
// state put back after each test, input method classes registered for a test, and programs of
// the build started and waited for.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "../settings/RegistrySnapshot.h"

namespace tessaline::testing {

// One registry value as it was, put back (or removed again) when the scope ends.
class ValueSnapshot {
 public:
  ValueSnapshot(HKEY root, std::wstring path, std::wstring name);
  ~ValueSnapshot();
  ValueSnapshot(const ValueSnapshot&) = delete;
  ValueSnapshot& operator=(const ValueSnapshot&) = delete;

 private:
  HKEY root_;
  std::wstring path_, name_;
  std::optional<RegistryValue> saved_;
};

// The device's state (current input method, panel flags, soft reset, pause scale, started slots,
// "DefaultIm") as it was, put back at the end. The call record is not touched: each test reads
// and clears only its own process's calls. Starts from a clean device: no current input method,
// no soft reset, no started slot, no "DefaultIm", real pauses.
class DeviceStateScope {
 public:
  DeviceStateScope();
  ~DeviceStateScope();

 private:
  ValueSnapshot current_, flags_, reset_, pause_, defaultIm_;
  RegistrySnapshot started_;
};

// A class registered under HKEY_CLASSES_ROOT\CLSID for the life of the object, removed with
// everything under it at the end.
class RegisteredClass {
 public:
  // `library` becomes the InprocServer32 default value; `isInputMethod` adds IsSIPInputMethod.
  RegisteredClass(const std::wstring& clsid, const std::wstring& name, const std::wstring& library,
                  bool isInputMethod = true);
  ~RegisteredClass();
  RegisteredClass(const RegisteredClass&) = delete;
  RegisteredClass& operator=(const RegisteredClass&) = delete;

  const std::wstring& Text() const { return text_; }
  CLSID Clsid() const;

 private:
  std::wstring text_;
  RegistrySnapshot snapshot_;
};

// Folder of the running test program (programs of the build are found relative to it).
std::wstring TestProgramFolder();

// A process's recorded device calls as "NAME ARGUMENT" ("NAME" without an argument).
std::vector<std::wstring> CallTexts(HANDLE process);
std::vector<std::wstring> MyCalls();  // this process's

struct ProgramRun {
  DWORD exitCode = 0;
  std::vector<std::wstring> calls;  // its device calls (taken out of the record)
};
// Starts the program with the command line (the program's path quoted first) and waits for it;
// a program still running after the time-out is ended, and the test fails.
ProgramRun RunProgram(const std::wstring& path, const std::wstring& arguments,
                      DWORD timeoutMilliseconds = 60000);

// UTF-8 for readable assertions.
std::string Narrow(const std::wstring& text);

}  // namespace tessaline::testing
