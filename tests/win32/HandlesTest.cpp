// The owning handle types with real handles: each releases what it owns exactly once, a move
// hands the handle over, and the scopes put back what they changed.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "HandleAccounting.h"
#include "win32/Handles.h"

namespace tessaline::win32 {
namespace {

using testing::CurrentHandleCounts;
using testing::HandleCounts;

// Whether the kernel still knows the handle.
bool HandleOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

HANDLE NewEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

class HandlesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::InstallHandleAccounting());
    before_ = CurrentHandleCounts();
  }
  // Nothing the test made is left behind.
  void TearDown() override { EXPECT_EQ(CurrentHandleCounts(), before_); }

  HandleCounts before_;
};

TEST_F(HandlesTest, AKernelHandleIsClosedOnceByWhoeverOwnsItLast) {
  HANDLE raw = NewEvent();
  ASSERT_TRUE(HandleOpen(raw));
  {
    KernelHandle first(raw);
    KernelHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(first.Get(), nullptr);
    EXPECT_EQ(second.Get(), raw);
    KernelHandle third;
    third = std::move(second);
    EXPECT_FALSE(second);
    // Moving onto itself keeps it.
    KernelHandle& same = third;
    third = std::move(same);
    EXPECT_TRUE(HandleOpen(raw));
    EXPECT_EQ(third.Get(), raw);
  }
  EXPECT_FALSE(HandleOpen(raw));
}

TEST_F(HandlesTest, ResetClosesTheOldHandleButNeverTheOneItTakes) {
  HANDLE a = NewEvent();
  HANDLE b = NewEvent();
  KernelHandle owner(a);
  owner.Reset(b);
  EXPECT_FALSE(HandleOpen(a));
  EXPECT_TRUE(HandleOpen(b));
  // Given its own handle again it keeps it open.
  owner.Reset(b);
  EXPECT_TRUE(HandleOpen(b));
  // A handle given up is the caller's.
  HANDLE released = owner.Release();
  EXPECT_EQ(released, b);
  EXPECT_FALSE(owner);
  owner.Reset();
  EXPECT_TRUE(HandleOpen(b));
  CloseHandle(released);
}

TEST_F(HandlesTest, AFailedOpenIsNoHandleWhicheverValueTheCallAnswersWith) {
  const KernelHandle missingFile(CreateFileW(L"Z:\\no\\such\\folder\\file.txt", GENERIC_READ, 0,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(missingFile.Get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(missingFile);
  WIN32_FIND_DATAW found{};
  const FindFile missingSearch(FindFirstFileW(L"Z:\\no\\such\\folder\\*", &found));
  EXPECT_FALSE(missingSearch);
  const FindFile none;
  EXPECT_EQ(none.Get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(none);
}

TEST_F(HandlesTest, PutReleasesTheOldHandleBeforeACallWritesANewOne) {
  HANDLE old = NewEvent();
  KernelHandle owner(old);
  HANDLE* slot = owner.Put();
  EXPECT_FALSE(HandleOpen(old));
  EXPECT_EQ(*slot, nullptr);
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), slot,
                              0, FALSE, DUPLICATE_SAME_ACCESS));
  EXPECT_TRUE(owner);
  EXPECT_EQ(GetProcessId(owner.Get()), GetCurrentProcessId());
}

TEST_F(HandlesTest, GdiObjectsAndMemoryDcsAreDeletedWithTheirOwners) {
  HBITMAP raw = nullptr;
  {
    const MemoryDc dc(nullptr);
    ASSERT_TRUE(dc);
    Bitmap bitmap(CreateCompatibleBitmap(dc.Get(), 4, 4));
    ASSERT_TRUE(bitmap);
    raw = bitmap.Get();
    const Brush brush(CreateSolidBrush(RGB(1, 2, 3)));
    const Pen pen(CreatePen(PS_SOLID, 1, RGB(4, 5, 6)));
    const CreatedDc display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    EXPECT_EQ(CurrentHandleCounts().gdiObjects, before_.gdiObjects + 3);
    EXPECT_EQ(CurrentHandleCounts().memoryDcs, before_.memoryDcs + (display ? 2 : 1));
    const Bitmap moved(std::move(bitmap));
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BITMAP));
  }
  EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST_F(HandlesTest, ASelectScopePutsThePreviousObjectBack) {
  const MemoryDc dc(nullptr);
  const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BITMAP);
  const Bitmap bitmap(CreateCompatibleBitmap(dc.Get(), 2, 2));
  {
    const SelectScope select(dc.Get(), bitmap.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
  // Nothing to select changes nothing.
  { const SelectScope none(dc.Get(), nullptr); }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
}

TEST_F(HandlesTest, ASelectionRestorePutsBackTheFirstObjectAfterManySelections) {
  const MemoryDc dc(nullptr);
  const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BRUSH);
  const Brush red(CreateSolidBrush(RGB(255, 0, 0)));
  const Brush blue(CreateSolidBrush(RGB(0, 0, 255)));
  {
    const SelectionRestore restore(dc.Get(), OBJ_BRUSH);
    EXPECT_EQ(restore.Old(), original);
    SelectObject(dc.Get(), red.Get());
    SelectObject(dc.Get(), blue.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), original);
}

TEST_F(HandlesTest, WindowDcsAreReleasedForTheScreenAndForAWholeWindow) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  {
    const WindowDc screen(nullptr);
    const WindowDc client(window);
    const WindowDc whole(window, WindowDc::Area::kWholeWindow);
    EXPECT_NE(screen.Get(), nullptr);
    EXPECT_NE(client.Get(), nullptr);
    EXPECT_NE(whole.Get(), nullptr);
    EXPECT_EQ(WindowFromDC(whole.Get()), window);
    EXPECT_EQ(CurrentHandleCounts().windowDcs, before_.windowDcs + 3);
  }
  EXPECT_EQ(CurrentHandleCounts().windowDcs, before_.windowDcs);
  DestroyWindow(window);
}

TEST_F(HandlesTest, ABackBufferIsMadeAgainOnlyForANewSizeAndLeavesNothingBehind) {
  HBITMAP first = nullptr;
  {
    BackBuffer buffer;
    EXPECT_FALSE(buffer.Ensure(nullptr, 0, 10));
    EXPECT_FALSE(buffer);
    ASSERT_TRUE(buffer.Ensure(nullptr, 30, 20));
    first = static_cast<HBITMAP>(GetCurrentObject(buffer.Dc(), OBJ_BITMAP));
    BITMAP info{};
    ASSERT_EQ(GetObjectW(first, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 30);
    EXPECT_EQ(info.bmHeight, 20);
    const HDC dc = buffer.Dc();
    ASSERT_TRUE(buffer.Ensure(nullptr, 30, 20));
    EXPECT_EQ(buffer.Dc(), dc);
    EXPECT_EQ(GetCurrentObject(buffer.Dc(), OBJ_BITMAP), first);
    ASSERT_TRUE(buffer.Ensure(nullptr, 31, 20));
    EXPECT_EQ(buffer.Width(), 31);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(CurrentHandleCounts().gdiObjects, before_.gdiObjects + 1);
    EXPECT_EQ(CurrentHandleCounts().memoryDcs, before_.memoryDcs + 1);
  }
}

TEST_F(HandlesTest, ARegistryKeyIsClosedAndAFailedOpenLeavesNone) {
  const std::wstring path = L"Software\\TessalineHandlesTest";
  {
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);
    const DWORD value = 7;
    EXPECT_EQ(RegSetValueExW(key.Get(), L"Seven", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_SUCCESS);
    RegKey moved(std::move(key));
    EXPECT_FALSE(key);
    DWORD read = 0;
    DWORD size = sizeof read;
    EXPECT_EQ(RegQueryValueExW(moved.Get(), L"Seven", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&read), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(read, 7u);
    moved.Close();
    EXPECT_FALSE(moved);
    EXPECT_EQ(moved.Open(HKEY_CURRENT_USER, (path + L"\\Missing").c_str(), KEY_READ),
              ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(moved);
  }
  EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);
  RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

TEST_F(HandlesTest, ALibraryFindsItsProceduresAndNothingElse) {
  const Library library(LoadLibraryW(L"kernel32.dll"));
  ASSERT_TRUE(library);
  using TickCount = DWORD(WINAPI*)();
  EXPECT_NE(library.Find<TickCount>("GetTickCount"), nullptr);
  EXPECT_EQ(library.Find<TickCount>("NoSuchProcedureAnywhere"), nullptr);
  const Library none;
  EXPECT_EQ(none.Find<TickCount>("GetTickCount"), nullptr);
}

TEST_F(HandlesTest, ABstrCopiesTheWholeTextInnerNullsToo) {
  const std::wstring text(L"a\0b", 3);
  const Bstr copy(text);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy.Length(), 3u);
  EXPECT_EQ(std::wstring(copy.Get(), copy.Length()), text);
  EXPECT_NE(static_cast<const void*>(copy.Get()), static_cast<const void*>(text.data()));
  const Bstr empty(std::wstring_view{});
  EXPECT_TRUE(empty);  // an empty BSTR is not a null one
  EXPECT_EQ(empty.Length(), 0u);
}

TEST_F(HandlesTest, MemoryFromCoTaskMemAllocIsFreedAfterACallFilledIt) {
  CoTaskMemory<OLECHAR> text;
  ASSERT_EQ(StringFromCLSID(CLSID_NULL, text.Put()), S_OK);
  EXPECT_EQ(std::wstring(text.Get()), L"{00000000-0000-0000-0000-000000000000}");
}

TEST_F(HandlesTest, AStartedProcessHasBothItsHandlesClosed) {
  wchar_t command[] = L"cmd.exe /c exit 3";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                             nullptr, &startup, &started));
  {
    Process process(started);
    EXPECT_EQ(process.Id(), started.dwProcessId);
    EXPECT_EQ(process.Thread(), started.hThread);
    process.CloseThread();
    EXPECT_FALSE(HandleOpen(started.hThread));
    EXPECT_EQ(process.Thread(), nullptr);
    ASSERT_EQ(WaitForSingleObject(process.Get(), 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    EXPECT_EQ(code, 3u);
    const Process moved(std::move(process));
    EXPECT_FALSE(process);
    EXPECT_TRUE(HandleOpen(started.hProcess));
  }
  EXPECT_FALSE(HandleOpen(started.hProcess));
}

TEST_F(HandlesTest, AnImageListAndAnIconAreDestroyed) {
  HIMAGELIST raw = nullptr;
  {
    ImageList list(ImageList_Create(16, 16, ILC_COLOR24, 1, 1));
    ASSERT_TRUE(list);
    raw = list.Get();
    EXPECT_EQ(ImageList_GetImageCount(raw), 0);
    const Icon icon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    EXPECT_TRUE(icon);
    EXPECT_EQ(ImageList_AddIcon(raw, icon.Get()), 0);
  }
  // A destroyed list answers no count.
  EXPECT_EQ(ImageList_GetImageCount(raw), 0);
}

TEST_F(HandlesTest, AMappedViewIsUnmapped) {
  const KernelHandle mapping(
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr));
  ASSERT_TRUE(mapping);
  void* address = nullptr;
  {
    const MappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_TRUE(view);
    address = view.Get();
    static_cast<char*>(address)[0] = 'x';
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_NE(VirtualQuery(address, &info, sizeof info), 0u);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
  }
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(address, &info, sizeof info), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
}

}  // namespace
}  // namespace tessaline::win32
