// The system keyboard's input method object: the soft input panel's lifecycle around the keypad.
#include "SystemKeyboard.h"

#include <windows.h>
// The common controls' header needs the Windows header before it.
#include <commctrl.h>

#include <atomic>

#include "KeypadWnd.h"
#include "SystemKeyboardObject.h"
#include "win32/Handles.h"

namespace tessaline::msim {

std::atomic<long> g_liveObjects{0};

CSystemKeyboard::CSystemKeyboard() { ++g_liveObjects; }
CSystemKeyboard::~CSystemKeyboard() {
  keypad_.Destroy();
  icons_.Reset();
  --g_liveObjects;
}

HRESULT CSystemKeyboard::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IInputMethod) {
    *object = static_cast<IInputMethod*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CSystemKeyboard::AddRef() { return ++references_; }

ULONG CSystemKeyboard::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT CSystemKeyboard::Select(HWND sipWindow) {
  sipWindow_ = sipWindow;
  GetWindowRect(sipWindow, &sipRect_);
  if (!icons_) icons_ = MakeIcons();
  return S_OK;
}

HRESULT CSystemKeyboard::Deselect() {
  keypad_.Destroy();
  icons_.Reset();
  return S_OK;
}

HRESULT CSystemKeyboard::Showing() {
  if (!keypad_.Handle()) {
    RECT client{};
    GetClientRect(sipWindow_, &client);
    if (!keypad_.Create(sipWindow_, client.right > 0 ? client.right : kKeypadWidth, RowHeight())) {
      return E_FAIL;
    }
    keypad_.SetCallback(callback_);
    ReportPanel();
  }
  return S_OK;
}

HRESULT CSystemKeyboard::Hiding() {
  keypad_.ResetInput();
  return S_OK;
}

HRESULT CSystemKeyboard::GetInfo(IMINFO* info) {
  if (!info) return E_POINTER;
  Fill(*info);
  return S_OK;
}

HRESULT CSystemKeyboard::ReceiveSipInfo(SIPINFO*) { return S_OK; }

HRESULT CSystemKeyboard::RegisterCallback(IIMCallback* callback) {
  callback_ = callback;
  keypad_.SetCallback(callback);
  return S_OK;
}

HRESULT CSystemKeyboard::GetImData(DWORD, void*) { return E_NOTIMPL; }
HRESULT CSystemKeyboard::SetImData(DWORD, void*) { return E_NOTIMPL; }

// The keyboard's one option, switched without a dialog: small keys or large keys.
HRESULT CSystemKeyboard::UserOptionsDlg(HWND) {
  largeKeys_ = !largeKeys_;
  if (keypad_.Handle()) {
    keypad_.SetRowHeight(RowHeight());
    ReportPanel();
  }
  return S_OK;
}

int CSystemKeyboard::RowHeight() const { return largeKeys_ ? kLargeKeyHeight : kSmallKeyHeight; }

void CSystemKeyboard::Fill(IMINFO& info) const {
  info = {};
  info.cbSize = kImInfoDeviceSize;
  info.hImageNarrow = icons_.Get();
  info.fdwFlags = SIPF_ON | SIPF_DOCKED;
  // The panel keeps the bottom edge of the panel window it was given and grows upward.
  info.rcSipRect = RECT{sipRect_.left, sipRect_.bottom - RowHeight() * kKeypadRows, sipRect_.right,
                        sipRect_.bottom};
}

void CSystemKeyboard::ReportPanel() {
  if (!callback_) return;
  IMINFO info;
  Fill(info);
  callback_->SetImInfo(&info);
}

// A 16 × 16 keyboard picture: a grey case with two rows of keys and a space bar.
win32::ImageList CSystemKeyboard::MakeIcons() {
  win32::ImageList list(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
  if (!list) return list;
  win32::WindowDc screen(nullptr);
  win32::MemoryDc dc(screen.Get());
  win32::Bitmap picture(CreateCompatibleBitmap(screen.Get(), 16, 16));
  {
    win32::SelectScope select(dc.Get(), picture.Get());
    RECT all{0, 0, 16, 16};
    win32::Brush white(CreateSolidBrush(RGB(255, 255, 255)));
    FillRect(dc.Get(), &all, white.Get());
    RECT body{0, 4, 16, 13};
    win32::Brush dark(CreateSolidBrush(RGB(64, 64, 64)));
    FillRect(dc.Get(), &body, dark.Get());
    win32::Brush light(CreateSolidBrush(RGB(230, 230, 230)));
    for (int x = 1; x < 15; x += 3) {
      RECT upper{x, 5, x + 2, 7};
      RECT lower{x + 1, 8, x + 3 > 15 ? 15 : x + 3, 10};
      FillRect(dc.Get(), &upper, light.Get());
      FillRect(dc.Get(), &lower, light.Get());
    }
    RECT space{4, 11, 12, 12};
    FillRect(dc.Get(), &space, light.Get());
  }
  ImageList_AddMasked(list.Get(), picture.Get(), RGB(255, 255, 255));
  return list;
}

}  // namespace tessaline::msim
