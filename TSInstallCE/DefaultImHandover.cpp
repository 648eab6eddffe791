#include "DefaultImHandover.h"

#include <objbase.h>
#include <windows.h>

#include "Product.h"
#include "platform/DeviceServices.h"
#include "settings/RegistryPath.h"
#include "win32/Handles.h"

namespace tessaline::setup {
namespace {

// Filled while the input methods are enumerated (the enumeration's callback has no context) and
// kept as long as the library is loaded.
std::vector<std::wstring>& SystemList() {
  static std::vector<std::wstring> list;
  return list;
}

const char16_t* U16(const std::wstring& text) {
  return reinterpret_cast<const char16_t*>(text.c_str());
}

// Values are read whole whatever their length (a longer one is never cut into something that
// looks like a match) and end at their stored length when the terminator is missing.
std::wstring ReadText(HKEY root, const std::wstring& path) {
  WideString text;
  ReadRegistryText(root, U16(path), text);
  return std::wstring(text.begin(), text.end());
}

int CALLBACK CollectSystemInputMethod(IMENUMINFO* info) {
  win32::CoTaskMemory<OLECHAR> classText;
  if (StringFromCLSID(info->clsid, classText.Put()) != S_OK || !classText) return 1;
  const std::wstring text(classText.Get());
  // The default value of the class's InprocServer32 key (the trailing backslash names it).
  const std::wstring library =
      ReadText(HKEY_CLASSES_ROOT, L"CLSID\\" + text + L"\\InprocServer32\\");
  if (AsciiUpper(library) == kSystemKeyboardLibrary) SystemList().push_back(AsciiUpper(text));
  return 1;  // every input method is examined
}

}  // namespace

std::wstring AsciiUpper(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return text;
}

const std::vector<std::wstring>& SystemInputMethods() { return SystemList(); }

void HandBackDefaultInputMethod() {
  win32::RegKey sip;
  if (sip.Open(HKEY_CURRENT_USER, L"ControlPanel\\Sip", KEY_QUERY_VALUE | KEY_SET_VALUE) !=
      ERROR_SUCCESS) {
    return;
  }
  const std::wstring current =
      AsciiUpper(ReadText(HKEY_CURRENT_USER, L"ControlPanel\\Sip\\DefaultIm"));
  if (current != kInputMethodClass) return;

  // A list from an earlier removal in the same load could name input methods that are gone.
  SystemList().clear();
  SipEnumIM(CollectSystemInputMethod);
  for (const std::wstring& system : SystemList()) {
    if (system != current) {
      RegSetValueExW(sip.Get(), L"DefaultIm", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(system.c_str()),
                     static_cast<DWORD>((system.size() + 1) * sizeof(wchar_t)));
      return;
    }
  }
}

}  // namespace tessaline::setup
