#include "runtime/TSInputM.h"

#include <commctrl.h>
#include <oleauto.h>

#include "engine/ActiveLanguages.h"
#include "engine/UserDictionaryFile.h"
#include "languages/InterfaceTexts.h"
#include "options/OpenOptions.h"
#include "panel/PanelFile.h"
#include "runtime/ComModule.h"
#include "runtime/SettingsArguments.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "win32/Handles.h"

namespace tessaline {
namespace {

// The taskbar icon: bitmap resource 201, 16 by 16 pixels, white where the taskbar shows through.
constexpr int kTaskbarIconResource = 201;
constexpr int kTaskbarIconSize = 16;
constexpr int kTaskbarIconGrowBy = 8;

// Process-wide, as the panel has one input method at a time: the panel's screen rectangle (known
// once its right edge is not 0) and the icon list.
RECT sipRect{};

// Never destroyed itself: at process exit the list goes with the process, and the common
// controls may already have left by then.
win32::ImageList& IconList() {
  static auto* list = new win32::ImageList;
  return *list;
}

bool SipRectKnown() { return sipRect.right != 0; }

void DestroyIconList() { IconList().Reset(); }

}  // namespace

RECT StoredSipRect() { return sipRect; }
HIMAGELIST TaskbarIconList() { return IconList().Get(); }

TSInputM::TSInputM() {
  ComObjectCreated();
  LoadSettings();
  LoadInterfaceTexts();
}

TSInputM::~TSInputM() {
  DestroyInputWindow();
  ComObjectDestroyed();
}

HRESULT TSInputM::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_ITSInputM || iid == IID_IDispatch) {
    *object = static_cast<ITSInputM*>(this);
  } else if (iid == IID_IInputMethod) {
    *object = static_cast<IInputMethod*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG TSInputM::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG TSInputM::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT TSInputM::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT TSInputM::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeInfo* typeInfo = TSInputMTypeInfo();
  if (!typeInfo) return TYPE_E_CANTLOADLIBRARY;
  typeInfo->AddRef();
  *info = typeInfo;
  return S_OK;
}

HRESULT TSInputM::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ITypeInfo* typeInfo = TSInputMTypeInfo();
  if (!typeInfo) return TYPE_E_CANTLOADLIBRARY;
  return DispGetIDsOfNames(typeInfo, names, count, ids);
}

HRESULT TSInputM::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  ITypeInfo* typeInfo = TSInputMTypeInfo();
  if (!typeInfo) return TYPE_E_CANTLOADLIBRARY;
  return DispInvoke(static_cast<ITSInputM*>(this), typeInfo, id, flags, params, result, exception,
                    argumentError);
}

HRESULT TSInputM::Select(HWND sipWindow) {
  sipWindow_ = sipWindow;
  // A second Select without Deselect makes a new list; the old one must not stay behind.
  DestroyIconList();
  IconList().Reset(ImageList_LoadImageW(ComModule(), MAKEINTRESOURCEW(kTaskbarIconResource),
                                        kTaskbarIconSize, kTaskbarIconGrowBy, RGB(255, 255, 255),
                                        IMAGE_BITMAP, 0));
  sipRect = RECT{};
  RECT rect{};
  if (sipWindow && GetWindowRect(sipWindow, &rect)) sipRect = rect;
  return S_OK;
}

HRESULT TSInputM::Deselect() {
  SaveSettings();
  // The languages go; edits of their user dictionaries that could not be written yet stay in
  // this process and are tried once more now.
  CommitAllPendingUserEdits();
  DestroyInputWindow();
  FreeActiveLanguages();
  DestroyIconList();
  // The panel releases its callback once the input method is deselected; nothing may call it
  // after this, even if the panel were to show this object again without registering one.
  callback_ = nullptr;
  sipWindow_ = nullptr;
  return S_OK;
}

HRESULT TSInputM::Showing() {
  const uint32_t noted = GetSettings().UpdateCounter;
  LoadSettings();
  // Without a panel window (Showing before Select) there is nothing to build the window in.
  if (!sipWindow_ || !IsWindow(sipWindow_)) return S_OK;
  if (inputWindow_ && GetSettings().UpdateCounter != noted && !KeepInputWindow()) {
    DestroyInputWindow();
  }
  if (!inputWindow_) BuildInputWindow();
  if (!inputWindow_) return S_OK;
  // Edits a failed write left are tried again; a user dictionary another writer changed is read
  // again, whatever the change counter said.
  CommitAllPendingUserEdits();
  inputWindow_->RefreshLanguage();
  if (GetSettings().AdaptiveVoc) {
    if (Language* language = inputWindow_->CurrentLanguage()) language->DailyDecay();
  }
  inputWindow_->TellFailuresLater();
  if (inputWindow_->CandidatesShown()) inputWindow_->PlaceCandidates();
  return S_OK;
}

HRESULT TSInputM::Hiding() {
  if (inputWindow_) inputWindow_->ResetInput();
  return S_OK;
}

HRESULT TSInputM::GetInfo(IMINFO* info) {
  if (!info) return E_POINTER;
  FillImInfo(*info);
  return S_OK;
}

HRESULT TSInputM::ReceiveSipInfo(SIPINFO* info) {
  if (info) info->fdwFlags |= SIPF_DISABLECOMPLETION;
  return S_OK;
}

HRESULT TSInputM::RegisterCallback(IIMCallback* callback) {
  callback_ = callback;
  if (inputWindow_) inputWindow_->SetCallback(callback);
  return S_OK;
}

HRESULT TSInputM::GetImData(DWORD, void* data) { return data ? E_NOTIMPL : E_POINTER; }

HRESULT TSInputM::SetImData(DWORD, void*) { return E_NOTIMPL; }

HRESULT TSInputM::UserOptionsDlg(HWND owner) {
  OpenOptions(owner);
  return S_OK;
}

void TSInputM::BuildInputWindow() {
  // The window that pointed at the languages is gone; the ones still as their files make them
  // are kept. The window paints the panel before it reads the first language (CInputWnd::Create).
  LoadChosenLanguages(false);
  RECT client{};
  GetClientRect(sipWindow_, &client);
  const int height = ChosenPanelHeight(sipRect.right - sipRect.left);
  auto window = std::make_unique<CInputWnd>(callback_, this);
  if (!window->Create(sipWindow_, RECT{0, 0, client.right - client.left, height}, true)) return;
  inputWindow_ = std::move(window);
  TellPanelSize();
}

bool TSInputM::KeepInputWindow() {
  // The window keeps its width (the candidate window's picture is made for it); another width
  // makes it anew.
  const HWND input = inputWindow_->Handle();
  RECT client{}, own{};
  if (!input || !GetClientRect(sipWindow_, &client) || !GetClientRect(input, &own) ||
      own.right != client.right - client.left) {
    return false;
  }
  inputWindow_->ApplySettings();
  const int height = ChosenPanelHeight(sipRect.right - sipRect.left);
  if (height != own.bottom) MoveWindow(input, 0, 0, own.right, height, TRUE);
  TellPanelSize();
  return true;
}

void TSInputM::TellPanelSize() {
  if (!callback_) return;
  IMINFO info{};
  FillImInfo(info);
  callback_->SetImInfo(&info);
}

void TSInputM::DestroyInputWindow() {
  if (!inputWindow_) return;
  inputWindow_->Destroy();
  inputWindow_.reset();
}

void TSInputM::FillImInfo(IMINFO& info) const {
  if (SipRectKnown()) {
    info = IMINFO{};
    info.rcSipRect =
        RECT{sipRect.left, sipRect.bottom - ChosenPanelHeight(sipRect.right - sipRect.left),
             sipRect.right, sipRect.bottom};
  }
  info.cbSize = kImInfoDeviceSize;
  info.hImageNarrow = IconList().Get();
  info.fdwFlags = SIPF_ON | SIPF_DOCKED;
}

void TSInputM::LayoutChanged() {
  if (!inputWindow_ || !inputWindow_->Handle()) return;
  RECT window{};
  GetWindowRect(inputWindow_->Handle(), &window);
  SaveSettings();
  IMINFO info{};
  FillImInfo(info);
  if (callback_) callback_->SetImInfo(&info);
  const int width = window.right - window.left;
  // Without a known panel rectangle the new layout's own height is the best there is.
  const int height =
      SipRectKnown() ? info.rcSipRect.bottom - info.rcSipRect.top : ChosenPanelHeight(width);
  MoveWindow(inputWindow_->Handle(), 0, 0, width, height, TRUE);
}

}  // namespace tessaline
