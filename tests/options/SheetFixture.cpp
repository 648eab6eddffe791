#include "SheetFixture.h"

#include <commctrl.h>

#include <algorithm>
#include <filesystem>

#include "../panel/DrawSupport.h"
#include "EngineFiles.h"
#include "engine/UserDictionary.h"
#include "engine/UserDictionaryFile.h"
#include "languages/InterfaceTexts.h"
#include "options/DocumentsFolder.h"
#include "options/OpenOptions.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"

namespace tessaline::testing {
namespace {

const std::wstring kKey = reinterpret_cast<const wchar_t*>(kClassKey);
constexpr const char* kInstall = "Program files/Tessaline/";

std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
std::wstring ToW(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::u16string Utf16Of(HWND control, UINT lengthMessage, UINT textMessage, int index) {
  const LRESULT length = SendMessageW(control, lengthMessage, index, 0);
  if (length < 0) return u"";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(control, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return ToU16(text);
}

}  // namespace

void SheetDriver::SelectTab(int tab) { PropSheet_SetCurSel(sheet_, nullptr, tab); }

HWND SheetDriver::Page() const { return PropSheet_GetCurrentPageHwnd(sheet_); }

HWND SheetDriver::Item(int id) const { return GetDlgItem(Page(), id); }

void SheetDriver::Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }

void SheetDriver::PickListEntry(int id, int index) {
  SendMessageW(Item(id), LB_SETCURSEL, index, 0);
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Item(id)));
}

void SheetDriver::PickComboEntry(int id, int index) {
  SendMessageW(Item(id), CB_SETCURSEL, index, 0);
  SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Item(id)));
}

void SheetDriver::MoveSlider(int id, int position) {
  SendMessageW(Item(id), TBM_SETPOS, TRUE, position);
  SendMessageW(Page(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
               reinterpret_cast<LPARAM>(Item(id)));
}

std::vector<std::u16string> SheetDriver::ListEntries(int id) const {
  const HWND list = Item(id);
  std::vector<std::u16string> entries;
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) entries.push_back(Utf16Of(list, LB_GETTEXTLEN, LB_GETTEXT, i));
  return entries;
}

std::vector<std::u16string> SheetDriver::ComboEntries(int id) const {
  const HWND combo = Item(id);
  std::vector<std::u16string> entries;
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    entries.push_back(Utf16Of(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
  return entries;
}

int SheetDriver::ListCount(int id) const {
  return static_cast<int>(SendMessageW(Item(id), LB_GETCOUNT, 0, 0));
}

int SheetDriver::ListSelection(int id) const {
  return static_cast<int>(SendMessageW(Item(id), LB_GETCURSEL, 0, 0));
}

int SheetDriver::ComboSelection(int id) const {
  return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0));
}

bool SheetDriver::Checked(int id) const {
  return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool SheetDriver::Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

bool SheetDriver::Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }

std::u16string SheetDriver::Text(int id) const {
  wchar_t text[1024] = {};
  GetWindowTextW(Item(id), text, 1024);
  return ToU16(text);
}

std::vector<std::u16string> SheetDriver::TabCaptions() const {
  std::vector<std::u16string> captions;
  const HWND tabs = PropSheet_GetTabControl(sheet_);
  for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    TabCtrl_GetItem(tabs, i, &item);
    captions.push_back(ToU16(text));
  }
  return captions;
}

SheetTest::SheetTest()
    : classKey_(HKEY_CLASSES_ROOT, kKey),
      launchSlots_(HKEY_LOCAL_MACHINE, L"init"),
      root_(dir_.Path()) {
  classKey_.MakeEmpty();
  launchSlots_.MakeEmpty();
  ForgetUserDictionaryFiles();
  StoreText(L"Path", u"\\Program files\\Tessaline");
  WriteInstalled("Layouts/compact_white.pan", "default_sx=240\n");
  InstallLanguage("English", {"and", "cat", "the"});
  SetDocumentsFolderSource([] { return std::optional<WideString>(u"\\My Documents"); });
  std::filesystem::create_directories(dir_.File("My Documents"));
  OptionsHooks hooks;
  hooks.wait = [](unsigned) {};
  SetOptionsHooks(hooks);
}

SheetTest::~SheetTest() {
  SetOptionsHooks({});
  SetDocumentsFolderSource({});
  SetUserDictionaryWriteLimit(SIZE_MAX);
  ForgetUserDictionaryFiles();
  FreeInterfaceTexts();
  ResetSettings(GetSettings());
}

void SheetTest::WriteInstalled(const std::string& relative, const std::string& bytes) {
  dir_.Write(kInstall + relative, bytes);
}

std::string SheetTest::ReadInstalled(const std::string& relative) const {
  return ReadBytes(dir_.File(kInstall + relative));
}

std::string SheetTest::InstalledPath(const std::string& relative) const {
  return dir_.File(kInstall + relative);
}

bool SheetTest::Installed(const std::string& relative) const {
  return std::filesystem::exists(dir_.File(kInstall + relative));
}

void SheetTest::InstallLanguage(const std::string& name, const std::vector<std::string>& words,
                                const std::string& shippedChr) {
  const std::string source = std::string(TESSALINE_SOURCE_DIR) + "/data/Languages/" +
                             (shippedChr.empty() ? name : shippedChr) + ".chr";
  WriteInstalled("Languages/" + name + ".chr", ReadBytes(HostToWindowsPath(source)));
  std::vector<std::string> sorted;
  for (const std::string& w : words) sorted.push_back(Codes(w));
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return static_cast<uint8_t>(x) < static_cast<uint8_t>(y);
    });
  });
  std::vector<VocWord> voc;
  for (const std::string& codes : sorted) voc.push_back({codes, 50});
  WriteInstalled("Languages/" + name + ".voc", voc.empty() ? std::string() : VocFile(voc));
}

void SheetTest::WriteUserDictionary(const std::string& language,
                                    const std::vector<std::u16string>& words,
                                    const std::vector<std::pair<std::u16string, int>>& records,
                                    uint32_t decayDay) {
  std::string file;
  PutU32(file, static_cast<uint32_t>(words.size()));
  for (const auto& w : words) PutUsrWord(file, w);
  PutU32(file, static_cast<uint32_t>(records.size()));
  for (const auto& [w, count] : records) {
    PutUsrRecord(file, w, -1, static_cast<int16_t>(count), 10);
  }
  PutU32(file, decayDay);
  WriteInstalled("Languages/" + language + ".usr", file);
}

std::string SheetTest::DocumentsFile(const std::string& name) const {
  return dir_.File("My Documents/" + name);
}

void SheetTest::WriteDocument(const std::string& name, const std::string& bytes) {
  dir_.Write("My Documents/" + name, bytes);
}

void SheetTest::StoreNumber(const wchar_t* name, DWORD value) {
  WriteRegistryValue(HKEY_CLASSES_ROOT, kKey, name, REG_DWORD, NumberBytes(value));
}

void SheetTest::StoreText(const wchar_t* name, const std::u16string& text) {
  WriteRegistryValue(HKEY_CLASSES_ROOT, kKey, name, REG_SZ, TextBytes(ToW(text)));
}

std::optional<DWORD> SheetTest::StoredNumber(const wchar_t* name) const {
  const auto value = ReadRegistryValue(HKEY_CLASSES_ROOT, kKey, name);
  if (!value || value->type != REG_DWORD || value->bytes.size() != 4) return std::nullopt;
  return *reinterpret_cast<const DWORD*>(value->bytes.data());
}

std::u16string SheetTest::StoredText(const wchar_t* name) const {
  const auto value = ReadRegistryValue(HKEY_CLASSES_ROOT, kKey, name);
  if (!value) return u"<missing>";
  std::u16string text(value->bytes.size() / 2, u'\0');
  std::copy_n(value->bytes.data(), text.size() * 2, reinterpret_cast<char*>(text.data()));
  return text.substr(0, text.find(u'\0'));
}

// A value the key lacks reads as its default: the settings write only what changed.
std::optional<DWORD> SheetTest::SettingNumber(const wchar_t* name) const {
  if (const auto stored = StoredNumber(name)) return stored;
  Settings defaults;
  ResetSettings(defaults);
  for (const ValueToStore& value : ValuesToStore(defaults)) {
    if (ToW(value.name) == name && value.bytes.size() == 4) {
      return *reinterpret_cast<const DWORD*>(value.bytes.data());
    }
  }
  return std::nullopt;
}

std::u16string SheetTest::SettingText(const wchar_t* name) const {
  const std::u16string stored = StoredText(name);
  if (stored != u"<missing>") return stored;
  Settings defaults;
  ResetSettings(defaults);
  for (const ValueToStore& value : ValuesToStore(defaults)) {
    if (ToW(value.name) != name) continue;
    std::u16string text(value.bytes.size() / 2, u'\0');
    std::copy_n(value.bytes.data(), text.size() * 2, reinterpret_cast<char*>(text.data()));
    return text.substr(0, text.find(u'\0'));
  }
  return stored;
}

void SheetTest::StoreSlot(int slot, const std::u16string& text) {
  WriteRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch" + std::to_wstring(slot), REG_SZ,
                     TextBytes(ToW(text)));
}

std::optional<std::u16string> SheetTest::Slot(int slot) const {
  const auto value =
      ReadRegistryValue(HKEY_LOCAL_MACHINE, L"init", L"Launch" + std::to_wstring(slot));
  if (!value) return std::nullopt;
  std::u16string text(value->bytes.size() / 2, u'\0');
  std::copy_n(value->bytes.data(), text.size() * 2, reinterpret_cast<char*>(text.data()));
  return text.substr(0, text.find(u'\0'));
}

bool SheetTest::RunSheet(const std::function<void(SheetDriver&)>& steps, bool ok) {
  LoadSettings();
  LoadInterfaceTexts();
  bool shown = false;
  OptionsHooks hooks;
  hooks.wait = [](unsigned) {};
  hooks.sheetShown = [&](HWND sheet) {
    shown = true;
    SheetDriver driver(sheet);
    steps(driver);
    PropSheet_PressButton(sheet, ok ? PSBTN_OK : PSBTN_CANCEL);
  };
  SetOptionsHooks(hooks);
  OpenOptions(nullptr);
  return shown;
}

}  // namespace tessaline::testing
