// Another program that holds a file open for a while, as a synchronising desktop tool or a file
// manager might: "hold_file PATH MILLISECONDS read|none" opens the file sharing only reading with
// others ("read") or nothing ("none"), prints "held" once it has it, and lets go after the time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "win32/Handles.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: hold_file PATH MILLISECONDS read|none\n");
    return 2;
  }
  const DWORD share = wcscmp(argv[3], L"read") == 0 ? FILE_SHARE_READ : 0;
  const tessaline::win32::KernelHandle file(CreateFileW(argv[1], GENERIC_READ, share, nullptr,
                                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                        nullptr));
  if (!file) {
    std::fprintf(stderr, "hold_file: cannot open the file (%lu)\n", GetLastError());
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(_wtoi(argv[2])));
  return 0;
}
