// What the library as an in-process server keeps for the whole process: its module, the count of
// live objects and of server locks (DllCanUnloadNow), and its type library.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <string>

namespace tessaline {

// The class TSInputM and its type library.
// {D29B81CD-2716-464C-AE72-61C143A16307}
constexpr CLSID CLSID_TSInputM = {
    0xD29B81CD, 0x2716, 0x464C, {0xAE, 0x72, 0x61, 0xC1, 0x43, 0xA1, 0x63, 0x07}};
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
