// The soft input panel's input method interfaces of Windows CE, declared here from what the input
// method and its host need of them (Win32 has none of them): the structures IMINFO and SIPINFO,
// the flag values, and the interfaces IInputMethod (implemented by an input method, called by
// the soft input panel) and IIMCallback (implemented by the soft input panel, called by the input
// method). The input method library, its tests and the emulator all use these declarations.
#pragma once

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

// Flags of IMINFO::fdwFlags and SIPINFO::fdwFlags.
constexpr DWORD SIPF_OFF = 0x00000000;                // the panel is hidden
constexpr DWORD SIPF_ON = 0x00000001;                 // the panel is shown
constexpr DWORD SIPF_DOCKED = 0x00000002;             // the panel sits at the bottom of the screen
constexpr DWORD SIPF_LOCKED = 0x00000004;             // the user cannot move or hide it
constexpr DWORD SIPF_DISABLECOMPLETION = 0x00000008;  // the platform's word completion is off

// What an input method tells the soft input panel about itself (GetInfo, SetImInfo).
//
// The device is a 32-bit machine: there the structure is 40 bytes (five 4-byte fields, the flags
// and a 16-byte rectangle), and cbSize is 40. In a 64-bit build the two image handles are 8 bytes
// and the first one is aligned to 8, so sizeof(IMINFO) is larger; the input method still writes
// 40 into cbSize, as on the device, and nothing reads the structure by that number.
struct IMINFO {
  DWORD cbSize;
  HANDLE hImageNarrow;  // image list of the taskbar icon, narrow form
  HANDLE hImageWide;    // image list of the taskbar icon, wide form
  int iNarrow;          // index of the icon in hImageNarrow
  int iWide;            // index of the icon in hImageWide
  DWORD fdwFlags;       // SIPF_*
  RECT rcSipRect;       // the panel's rectangle on the screen
};
constexpr DWORD kImInfoDeviceSize = 40;

// What the soft input panel tells an input method about its state (ReceiveSipInfo).
struct SIPINFO {
  DWORD cbSize;
  DWORD fdwFlags;         // SIPF_*
  RECT rcVisibleDesktop;  // the part of the screen the panel leaves free
  RECT rcSipRect;         // the panel's rectangle on the screen
  DWORD dwImDataSize;     // size of pvImData
  void* pvImData;         // input method specific data
};

// Flags of IIMCallback::SendVirtualKey.
constexpr DWORD kKeyEventKeyUp = 0x0002;  // KEYEVENTF_KEYUP: the release of the key

// {42429667-AE04-11D0-A4F8-00AA00A749B9}
constexpr GUID IID_IIMCallback = {
    0x42429667, 0xAE04, 0x11D0, {0xA4, 0xF8, 0x00, 0xAA, 0x00, 0xA7, 0x49, 0xB9}};
// {42429666-AE04-11D0-A4F8-00AA00A749B9}
constexpr GUID IID_IInputMethod = {
    0x42429666, 0xAE04, 0x11D0, {0xA4, 0xF8, 0x00, 0xAA, 0x00, 0xA7, 0x49, 0xB9}};

// The soft input panel's side: where an input method sends its panel size, text and keys.
// Slots after IUnknown, in order: SetImInfo, SendVirtualKey, SendString.
struct IIMCallback : public IUnknown {
  // Tells the panel the input method's size, position and taskbar icon.
  virtual HRESULT STDMETHODCALLTYPE SetImInfo(IMINFO* info) = 0;
  // One half of a key stroke: flags 0 presses the key, kKeyEventKeyUp releases it.
  virtual HRESULT STDMETHODCALLTYPE SendVirtualKey(BYTE vk, DWORD flags) = 0;
  // The first `chars` characters of text; the text need not be terminated after them.
  virtual HRESULT STDMETHODCALLTYPE SendString(BSTR text, DWORD chars) = 0;
};

// The input method's side, called by the soft input panel. Slots after IUnknown, in order.
struct IInputMethod : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Select(HWND sipWindow) = 0;             // 1
  virtual HRESULT STDMETHODCALLTYPE Deselect() = 0;                         // 2
  virtual HRESULT STDMETHODCALLTYPE Showing() = 0;                          // 3
  virtual HRESULT STDMETHODCALLTYPE Hiding() = 0;                           // 4
  virtual HRESULT STDMETHODCALLTYPE GetInfo(IMINFO* info) = 0;              // 5
  virtual HRESULT STDMETHODCALLTYPE ReceiveSipInfo(SIPINFO* info) = 0;      // 6
  virtual HRESULT STDMETHODCALLTYPE RegisterCallback(IIMCallback* cb) = 0;  // 7
  virtual HRESULT STDMETHODCALLTYPE GetImData(DWORD size, void* data) = 0;  // 8
  virtual HRESULT STDMETHODCALLTYPE SetImData(DWORD size, void* data) = 0;  // 9
  virtual HRESULT STDMETHODCALLTYPE UserOptionsDlg(HWND owner) = 0;         // 10
};
