#include "ComTestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "system/WideText.h"
#include "win32/Handles.h"

namespace tessaline::testing {
namespace {

std::wstring Windows(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return std::wstring(path.begin(), path.end());
}

void Copy(const std::wstring& from, const std::wstring& to) {
  ASSERT_TRUE(CopyFileW(from.c_str(), to.c_str(), FALSE))
      << "copy to " << std::string(to.begin(), to.end());
}

std::wstring InstalledLibrary() { return InstallFolder() + L"\\Tessaline.dll"; }

}  // namespace

int RunAndWait(const std::wstring& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  const win32::Process started(process);
  WaitForSingleObject(started.Get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(started.Get(), &code);
  return static_cast<int>(code);
}

std::wstring InstallFolder() { return L"C:\\Program files\\Tessaline"; }

void InstallProduct() {
  static bool copied = false;
  if (!copied) {
    const std::wstring folder = InstallFolder();
    SHCreateDirectoryExW(nullptr, (folder + L"\\Languages").c_str(), nullptr);
    SHCreateDirectoryExW(nullptr, (folder + L"\\Layouts").c_str(), nullptr);
    Copy(Windows(TESSALINE_DLL_PATH), InstalledLibrary());
    const std::wstring source = Windows(TESSALINE_SOURCE_DIR) + L"\\data";
    for (const wchar_t* name : {L"English.chr", L"English.voc", L"English.aid", L"German.chr",
                                L"German.voc", L"German.aid"}) {
      Copy(source + L"\\Languages\\" + name, folder + L"\\Languages\\" + name);
    }
    for (const wchar_t* name :
         {L"compact_white.pan", L"compact.pan", L"dark_key.bmp", L"dark_small.bmp"}) {
      Copy(source + L"\\Layouts\\" + name, folder + L"\\Layouts\\" + name);
    }
    copied = true;
  }
  ASSERT_EQ(RegisterProduct(), 0);
}

int RegisterProduct() { return RunAndWait(L"regsvr32.exe /s \"" + InstalledLibrary() + L"\""); }

int UnregisterProduct() {
  return RunAndWait(L"regsvr32.exe /s /u \"" + InstalledLibrary() + L"\"");
}

HRESULT SipCallback::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == IID_IIMCallback) {
    *object = static_cast<IIMCallback*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT SipCallback::SetImInfo(IMINFO* info) {
  EXPECT_FALSE(forbidden) << "SetImInfo on a callback the input method was told to forget";
  calls.push_back("SetImInfo");
  infos.push_back(*info);
  return S_OK;
}

HRESULT SipCallback::SendVirtualKey(BYTE vk, DWORD flags) {
  EXPECT_FALSE(forbidden) << "SendVirtualKey on a callback the input method was told to forget";
  calls.push_back("SendVirtualKey:" + std::to_string(vk) + ":" + std::to_string(flags));
  return S_OK;
}

HRESULT SipCallback::SendString(BSTR text, DWORD chars) {
  EXPECT_FALSE(forbidden) << "SendString on a callback the input method was told to forget";
  calls.push_back("SendString:" +
                  WideToUtf8(WideView(reinterpret_cast<const char16_t*>(text), chars)));
  return S_OK;
}

SipWindow::SipWindow(int height) {
  window_ = CreateWindowExW(0, L"STATIC", L"SIP", WS_POPUP | WS_VISIBLE, 0, 320 - height, 240,
                            height, nullptr, nullptr, nullptr, nullptr);
}

SipWindow::~SipWindow() {
  if (window_) DestroyWindow(window_);
}

HWND SipWindow::InputWindow() const {
  return FindWindowExW(window_, nullptr, nullptr, L"Input window");
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace tessaline::testing
