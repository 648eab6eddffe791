// A library that a test loads to make its file "in use", as the input method's library is while
// the soft input panel holds it.
#include <windows.h>

extern "C" __declspec(dllexport) int LoadedLibraryMarker() { return 1; }
