// What the library as an in-process server keeps for the whole process: its module, the count of
// live objects and of server locks (DllCanUnloadNow), and its type library.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <string>

#include "system/ProductIds.h"

namespace tessaline {

// The class TSInputM (system/ProductIds.h) and its type library.
constexpr CLSID CLSID_TSInputM = kInputMethodClsid;
// {793AF27C-9A12-4C8F-AC9C-05CAA5D0C6BC}
constexpr GUID LIBID_Tessaline = {
    0x793AF27C, 0x9A12, 0x4C8F, {0xAC, 0x9C, 0x05, 0xCA, 0xA5, 0xD0, 0xC6, 0xBC}};

void SetComModule(HMODULE module);
HMODULE ComModule();
// The module's file path as the system reports it.
std::wstring ComModulePath();

// Live TSInputM objects and LockServer locks.
void ComObjectCreated();
void ComObjectDestroyed();
void ComLock(bool lock);
bool ComCanUnload();
long ComObjectCount();

// The type information of ITSInputM from the module's own type library (loaded once, kept for
// the life of the process); null when it cannot be loaded.
ITypeInfo* TSInputMTypeInfo();

}  // namespace tessaline
