// TSInstallCE.dll as the installer sees it: loaded by path, its entry points found by name and
// called with the protocol's arguments, its messages answered through its host seam.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../platform/DeviceFixture.h"
#include "SetupTestSupport.h"
#include "platform/DeviceState.h"
#include "platform/SetupHooks.h"
#include "win32/Handles.h"

namespace tessaline::setup {
namespace {

typedef int(CALLBACK* SetupMessageProc)(HWND, LPCWSTR, LPCWSTR, UINT);
typedef void(WINAPI* SetSetupMessageProcProc)(SetupMessageProc);

std::vector<std::wstring> answered;

int CALLBACK AnswerCancel(HWND, LPCWSTR text, LPCWSTR caption, UINT) {
  answered.push_back(std::wstring(text) + L"|" + caption);
  return IDCANCEL;
}

class SetupLibraryTest : public SetupTest {
 protected:
  SetupLibraryTest()
      : library_(LoadLibraryW(
            (testing::TestProgramFolder() + L"\\..\\..\\TSInstallCE\\TSInstallCE.dll").c_str())) {
    answered.clear();
  }
  template <typename Proc>
  Proc Find(const char* name) {
    return library_.Find<Proc>(name);
  }

  win32::Library library_;
};

TEST_F(SetupLibraryTest, TheInstallerFindsAndCallsTheFourHooks) {
  ASSERT_TRUE(library_);
  const auto installInit = Find<InstallInitProc>(kInstallInitName);
  const auto installExit = Find<InstallExitProc>(kInstallExitName);
  const auto uninstallInit = Find<UninstallInitProc>(kUninstallInitName);
  const auto uninstallExit = Find<UninstallExitProc>(kUninstallExitName);
  const auto setMessageProc = Find<SetSetupMessageProcProc>("SetSetupMessageProc");
  ASSERT_TRUE(installInit && installExit && uninstallInit && uninstallExit && setMessageProc);

  const wchar_t* folder = L"\\Program files\\Tessaline";
  WriteSlot(71, L"\\Program files\\Tessaline\\TSSelect.exe");
  EXPECT_EQ(installInit(nullptr, TRUE, FALSE, folder), codeINSTALL_INIT_CONTINUE);
  EXPECT_TRUE(Slots().empty());

  // The installer registered the library in between.
  testing::RegisteredClass product(kClass, L"TSInputM Class", L"Tessaline.dll");
  EXPECT_EQ(installExit(nullptr, folder, 0, 0, 0, 0, 0), codeINSTALL_EXIT_DONE);
  EXPECT_EQ(device::CurrentInputMethod(), product.Clsid());

  // A second installation: the message reaches the host's procedure.
  setMessageProc(AnswerCancel);
  EXPECT_EQ(installInit(nullptr, TRUE, TRUE, folder), codeINSTALL_INIT_CANCEL);
  setMessageProc(nullptr);
  EXPECT_EQ(answered, std::vector<std::wstring>{
                          L"Tessaline is already installed\nRemove it before new installation|"});

  EXPECT_EQ(uninstallInit(nullptr, folder), codeUNINSTALL_INIT_CONTINUE);
  EXPECT_EQ(uninstallExit(nullptr), codeUNINSTALL_EXIT_DONE);
}

}  // namespace
}  // namespace tessaline::setup
