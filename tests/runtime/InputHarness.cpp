#include "InputHarness.h"

// The common control headers build on <windows.h>.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "DrawSupport.h"
#include "engine/ActiveLanguages.h"
#include "engine/Language.h"
#include "keypad/ButtonEvents.h"
#include "languages/InterfaceTexts.h"
#include "options/OpenOptions.h"
#include "panel/PanelFile.h"
#include "runtime/CandidateWnd.h"
#include "runtime/RuntimeSeams.h"
#include "runtime/SettingsArguments.h"
#include "system/Clock.h"

namespace tessaline::testing {
namespace {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

LPARAM Lp(POINT p) { return MAKELPARAM(p.x, p.y); }

HWND MakeSipWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TessalineTestSip";
  RegisterClassW(&windowClass);  // fails harmlessly when registered already
  return CreateWindowExW(WS_EX_NOACTIVATE, L"TessalineTestSip", L"SIP", WS_POPUP | WS_VISIBLE, 0,
                         kScreenHeight - 200, kScreenWidth, 200, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

void CopyShippedFiles(const TempDir& folder, bool german) {
  namespace fs = std::filesystem;
  const std::string data = HostToWindowsPath(std::string(TESSALINE_SOURCE_DIR) + "/data");
  const auto copy = [&](const std::string& from, const std::string& to) {
    const std::string target = folder.File("Program files/Tessaline/" + to);
    fs::create_directories(fs::path(target).parent_path());
    fs::copy_file(data + "\\" + from, target, fs::copy_options::overwrite_existing);
  };
  std::vector<std::string> languages = {"English"};
  if (german) languages.push_back("German");
  for (const std::string& name : languages) {
    copy("Languages\\" + name + ".chr", "Languages/" + name + ".chr");
    copy("Languages\\" + name + ".voc", "Languages/" + name + ".voc");
    copy("Languages\\" + name + ".aid", "Languages/" + name + ".aid");
  }
  for (const char* name : {"compact_white.pan", "compact.pan", "dark_key.bmp", "dark_small.bmp"}) {
    copy(std::string("Layouts\\") + name, std::string("Layouts/") + name);
  }
}

void LayoutOwner::LayoutChanged() {
  ++changes;
  // As the input method object does: the window takes the new layout's panel height.
  RECT r{};
  GetClientRect(sip, &r);
  const int height = ChosenPanelHeight(r.right);
  SetWindowPos(window->Handle(), nullptr, 0, 0, r.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

InputHarness::InputHarness(HarnessOptions options)
    : root_(folder_.Path()), savedSettings_(GetSettings()) {
  CopyShippedFiles(folder_, options.german);
  if (!options.panelFile.empty()) {
    folder_.Write("Program files/Tessaline/Layouts/compact_white.pan", options.panelFile);
  }
  Settings& settings = GetSettings();
  ResetSettings(settings);
  SetSettingsText(settings.Path, u"\\Program files\\Tessaline");
  SetSettingsText(settings.Language1, options.german ? u"German" : u"");
  settings.ThemeFilter = false;
  if (options.settings) options.settings(settings);
  ApplyPanelFileFallback();

  SetMillisecondSource([this] { return now_; });
  SetPauseHook([this](unsigned ms) { pauses_.push_back(ms); });
  SetBeepHook([this] { ++beeps_; });
  SetPopupScreenWidthSource([] { return kScreenWidth; });
  OptionsHooks hooks;
  hooks.sheetShown = [this](HWND sheet) {
    ++sheetsShown_;
    PropSheet_PressButton(sheet, PSBTN_CANCEL);
    if (onSheet) onSheet();
  };
  hooks.wait = [](unsigned) {};
  SetOptionsHooks(hooks);

  LoadChosenLanguages(!options.languageAfterPaint);
  sip_ = MakeSipWindow();
  window_ = std::make_unique<CInputWnd>(&callback_, &owner_);
  owner_.window = window_.get();
  owner_.sip = sip_;
  const RECT place{0, 0, kScreenWidth, ChosenPanelHeight(kScreenWidth)};
  EXPECT_NE(window_->Create(sip_, place, options.languageAfterPaint), nullptr);
}

InputHarness::~InputHarness() {
  window_.reset();
  DestroyWindow(sip_);
  FreeActiveLanguages();
  FreeInterfaceTexts();
  SetOptionsHooks({});
  SetPopupScreenWidthSource(nullptr);
  SetBeepHook(nullptr);
  SetPauseHook(nullptr);
  SetMillisecondSource(nullptr);
  GetSettings() = savedSettings_;
}

std::string InputHarness::HostFile(const std::string& relative) const {
  return folder_.File("Program files/Tessaline/" + relative);
}

POINT InputHarness::CentreOf(int id) const {
  const Panel& panel = window_->PanelAt(window_->LayoutIndex());
  const Button* button = panel.FindButton(id);
  if (!button) {
    ADD_FAILURE() << "no button " << id << " on layout " << window_->CurrentLayoutName();
    return POINT{-1000, -1000};
  }
  const PixelRect r = panel.ButtonRect(*button);
  return POINT{r.left + r.width / 2, r.top + r.height / 2};
}

void InputHarness::PenDown(POINT at) { SendMessageW(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Lp(at)); }
void InputHarness::PenMove(POINT at) { SendMessageW(Handle(), WM_MOUSEMOVE, MK_LBUTTON, Lp(at)); }
void InputHarness::PenUp(POINT at) { SendMessageW(Handle(), WM_LBUTTONUP, 0, Lp(at)); }

void InputHarness::Tap(int id) {
  const POINT at = CentreOf(id);
  PenDown(at);
  AdvanceClock(80);
  PenUp(at);
  AdvanceClock(200);
}

void InputHarness::Taps(std::initializer_list<int> ids) {
  for (int id : ids) Tap(id);
}

void InputHarness::Hold(int id, int ticks) {
  const POINT at = CentreOf(id);
  PenDown(at);
  for (int i = 0; i < ticks; ++i) {
    AdvanceClock(i == 0 ? 500 : i == 1 ? 499 : 250);
    Timer(CInputWnd::kHoldTimer);
  }
  AdvanceClock(100);
  PenUp(at);
}

void InputHarness::Timer(UINT_PTR id) { SendMessageW(Handle(), WM_TIMER, id, 0); }

void InputHarness::SwipeFinger(Swipe direction) {
  RECT r{};
  GetClientRect(Handle(), &r);
  const int w = r.right, h = r.bottom;
  POINT from{w / 2, h / 2}, to{w / 2, h / 2};
  switch (direction) {
    case Swipe::kRight:
      from.x = 10, to.x = w - 10;
      break;
    case Swipe::kLeft:
      from.x = w - 10, to.x = 10;
      break;
    case Swipe::kDown:
      from.y = 3, to.y = h - 3;
      break;
    case Swipe::kUp:
      from.y = h - 3, to.y = 3;
      break;
    default:
      break;
  }
  PenDown(from);
  AdvanceClock(60);
  PenMove(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
  AdvanceClock(60);
  PenUp(to);
  FinishSlide();
}

void InputHarness::FinishSlide() {
  const LayoutPlace& place = LayoutPlaceOf(window_->LayoutIndex());
  for (int i = 0; i < 200; ++i) {
    if (window_->ViewX() == static_cast<float>(place.gridX) &&
        window_->ViewY() == static_cast<float>(place.gridY)) {
      return;
    }
    AdvanceClock(50);
    Timer(CInputWnd::kSlideTimer);
  }
  ADD_FAILURE() << "the view never reached its layout";
}

void InputHarness::TapCandidate(int index) {
  const CCandidateWnd* candidates = window_->Candidates();
  ASSERT_NE(candidates, nullptr);
  RECT client{};
  GetClientRect(candidates->Handle(), &client);
  const int k = std::min(CandidateStep(), candidates->Count() - candidates->Selected());
  const int j = index - candidates->Selected();
  ASSERT_TRUE(j >= 0 && j < k) << "entry " << index << " is not shown";
  const RECT cell = CandidateCellRect(client.right, client.bottom, k, CandidateSlot(k, j));
  const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  SendMessageW(candidates->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(candidates->Handle(), WM_LBUTTONUP, 0, at);
}

int InputHarness::KeyOf(char16_t letter) const {
  const Language* language = window_->CurrentLanguage();
  if (!language) return -1;
  const std::u16string lower = std::u16string(1, letter);
  for (const KeyEntry& key : language->Keys().Keys()) {
    if (language->LetterIndexOnKey(key.key, letter) >= 0) {
      // A key of the layout shown (the phone keys on "main", the QWERTY keys on "qwerty").
      if (window_->PanelAt(window_->LayoutIndex()).FindButton(key.key)) return key.key;
    }
  }
  return -1;
}

void InputHarness::TypeKeys(std::u16string_view word) {
  for (char16_t letter : word) {
    const int key = KeyOf(letter);
    ASSERT_GE(key, 0) << "no key for a letter of " << WideToUtf8(word);
    Tap(key);
  }
}

void InputHarness::TypeWord(std::u16string_view word) {
  TypeKeys(word);
  const CCandidateWnd* candidates = window_->Candidates();
  ASSERT_NE(candidates, nullptr);
  const auto& entries = candidates->Entries();
  const auto found = std::find(entries.begin(), entries.end(), WideString(word));
  ASSERT_NE(found, entries.end()) << WideToUtf8(word) << " is not offered";
  const int index = static_cast<int>(found - entries.begin());
  if (index == candidates->Selected()) {
    Tap(keypad::kSpace);
    return;
  }
  for (int page = 0; page < 8; ++page) {
    const int k = std::min(CandidateStep(), candidates->Count() - candidates->Selected());
    if (index >= candidates->Selected() && index < candidates->Selected() + k) {
      TapCandidate(index);
      return;
    }
    Tap(keypad::kNextCandidate);
  }
  ADD_FAILURE() << WideToUtf8(word) << " could not be reached";
}

}  // namespace tessaline::testing
