#include "typist/Typist.h"

#include <algorithm>
#include <cstdio>

#include "engine/Language.h"
#include "evaluation/EnginePredictor.h"
#include "keypad/ButtonEvents.h"
#include "languages/InterfaceTexts.h"
#include "screen/DeviceWnd.h"
#include "screen/Screenshot.h"
#include "script/ScriptRunner.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "system/DataFiles.h"
#include "system/Messages.h"
#include "system/ProductIds.h"
#include "system/WideText.h"
#include "textfile/TextFile.h"
#include "typist/Benchmark.h"
#include "typist/TypingPlan.h"
#include "win32/Handles.h"

namespace tessaline::emulator {
namespace {

using evaluation::Tap;
using evaluation::TapKind;
using typist::ButtonEvent;
using typist::DescribeTap;

// How long the typist's pen stays down, and how long it waits after each tap. The waits are
// the input window's own times (multi-tap 1 s, the spelling entry's copied word 2 s) with a
// margin, and the view's slide to another layout.
constexpr UINT kTapMilliseconds = 60;
constexpr UINT kAfterTapMilliseconds = 30;
constexpr UINT kMultiTapWaitMilliseconds = 1400;
constexpr UINT kSpelledCopyWaitMilliseconds = 2600;
// A touch shorter than the noise gate is not a tap; one as long as a hold is a hold.
constexpr int32_t kLongestTapMilliseconds = 400;
constexpr UINT kSlideWaitMilliseconds = 900;
constexpr UINT kPopupWaitMilliseconds = 60;

WideString WithoutCarriageReturns(WideView text) {
  WideString out;
  for (char16_t ch : text) {
    if (ch != u'\r') out.push_back(ch);
  }
  return out;
}

// The device's upper case, as the input window gives it.
char16_t DeviceUpper(char16_t ch) {
  wchar_t text[2] = {static_cast<wchar_t>(ch), 0};
  CharUpperW(text);
  return static_cast<char16_t>(text[0]);
}

std::string Quoted(WideView text) {
  std::string out = "\"";
  for (char16_t ch : text) {
    if (ch == u'\n') {
      out += "\\n";
    } else {
      out += WideToUtf8(WideView(&ch, 1));
    }
  }
  return out + "\"";
}

std::string CharacterName(char16_t ch) {
  char code[16];
  std::snprintf(code, sizeof(code), "U+%04X", static_cast<unsigned>(ch));
  if (ch < 0x20) return code;
  return "'" + WideToUtf8(WideView(&ch, 1)) + "' (" + code + ")";
}

struct FindData {
  const wchar_t* className;
  HWND found = nullptr;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data) {
  auto* find = reinterpret_cast<FindData*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
      lstrcmpW(name, find->className) == 0) {
    find->found = window;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of this process (the input window's pop-ups are owned, top-level).
HWND FindPopup(const wchar_t* className) {
  FindData find{className};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&find));
  return find.found;
}

bool CopyLanguageFile(const std::string& from, const std::string& to, bool needed) {
  if (CopyFileA(from.c_str(), to.c_str(), FALSE)) return true;
  if (!needed) DeleteFileA(to.c_str());
  return !needed;
}

}  // namespace

RECT CandidateCell(int width, int height, int k, int j) {
  if (k < 1) return RECT{};
  static constexpr int kSlotsOfThree[3] = {1, 0, 2};
  const int slot = k == 3 && j >= 0 && j < 3 ? kSlotsOfThree[j] : j;
  return RECT{(width - 1) * slot / k + 1, 1, (width - 1) * (slot + 1) / k + 1, height - 1};
}

bool SelectTypingLanguages(const std::vector<TypingText>& texts, std::string& error) {
  std::vector<WideString> wanted;
  for (const TypingText& text : texts) {
    if (text.language.empty()) continue;
    if (std::find(wanted.begin(), wanted.end(), text.language) == wanted.end())
      wanted.push_back(text.language);
  }
  if (wanted.empty()) return true;
  if (wanted.size() > 2) {
    error = "the keypad has two languages at a time: type in at most two";
    return false;
  }
  LoadSettings();
  Settings& settings = GetSettings();
  const WideString first = SettingsText(settings.Language0);
  const WideString second = SettingsText(settings.Language1);
  WideString next = wanted.size() > 1 ? wanted[1] : second;
  if (wanted.size() == 1 && next == wanted[0]) next = first;
  if (first == wanted[0] && second == next) return true;
  SetSettingsText(settings.Language0, wanted[0]);
  SetSettingsText(settings.Language1, next == wanted[0] ? WideString() : next);
  if (SaveSettings() != ERROR_SUCCESS) {
    error = "Tessaline is not installed on this device (its settings key does not open)";
    return false;
  }
  return true;
}

// Turns the replay's taps and progress into the typist's actions.
class Typist::Recorder final : public evaluation::TapSink {
 public:
  Recorder(std::vector<Action>& actions, size_t offset, bool check)
      : actions_(actions), offset_(offset), check_(check) {}
  void OnTap(const Tap& tap) override { actions_.push_back(Action{tap}); }
  void OnProgress(size_t end, bool trailingSpace) override {
    if (!check_) return;
    Action check;
    check.extra = Extra::kCheck;
    check.checkEnd = offset_ + end;
    check.checkSpace = trailingSpace;
    actions_.push_back(check);
  }

 private:
  std::vector<Action>& actions_;
  size_t offset_;
  bool check_;
};

Typist::Typist(CDeviceWnd& device, Pen& pen) : device_(device), pen_(pen) {}

Typist::~Typist() {
  languages_.clear();
  if (planFolder_.empty()) return;
  for (const char* pattern : {"*.chr", "*.voc", "*.aid", "*.usr"}) {
    WIN32_FIND_DATAA found{};
    const win32::FindFile search(FindFirstFileA((planFolder_ + pattern).c_str(), &found));
    if (!search) continue;
    do {
      DeleteFileA((planFolder_ + found.cFileName).c_str());
    } while (FindNextFileA(search.Get(), &found));
  }
  RemoveDirectoryA(planFolder_.c_str());
}

Language* Typist::LoadPlanningLanguage(const WideString& name, std::string& error) {
  auto known = languages_.find(name);
  if (known != languages_.end()) return known->second.get();
  if (planFolder_.empty()) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    planFolder_ =
        std::string(temp) + "TessalineTypist" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(planFolder_.c_str(), nullptr);
  }
  // The device's own files, copied: the plan learns as the input method does, in its own copy.
  const std::string chr = HostPath(LanguageFilePath(InstallFolder().narrow, name));
  const std::string copy = planFolder_ + WideToAnsi(name) + ".chr";
  if (!CopyLanguageFile(chr, copy, true) ||
      !CopyLanguageFile(SiblingFilePath(chr, ".voc"), SiblingFilePath(copy, ".voc"), true)) {
    error = "the device has no language '" + WideToUtf8(name) + "' (" + chr + " and its .voc)";
    return nullptr;
  }
  CopyLanguageFile(SiblingFilePath(chr, ".aid"), SiblingFilePath(copy, ".aid"), false);
  CopyLanguageFile(SiblingFilePath(chr, ".usr"), SiblingFilePath(copy, ".usr"), false);
  const Settings& settings = GetSettings();
  auto language = std::make_unique<Language>(copy, name, true, settings.AdaptiveVoc,
                                             settings.FreqMax, settings.FreqInc);
  if (language->Keys().KeyLetters(2).empty()) {
    error = "the language '" + WideToUtf8(name) + "' has no letters on its keys";
    return nullptr;
  }
  // The input method's first Showing of the day runs the daily decay on the language it shows,
  // and the plan is made before that Showing: the copy decays as the device's file will.
  if (settings.AdaptiveVoc && name == firstLanguage_) language->DailyDecay();
  Language* raw = language.get();
  languages_[name] = std::move(language);
  return raw;
}

bool Typist::LoadPanels(std::string& error) {
  const std::string path = HostPath(PanelFilePath().narrow);
  const TextSection root = ReadTextFile(path);
  skin_.Read(root, path);
  struct {
    Panel& panel;
    const char* name;
  } layouts[] = {{main_, "main"}, {symbols_, "symbols"}, {popup_, "popup"}};
  for (auto& layout : layouts) {
    layout.panel.SetSkin(&skin_);
    layout.panel.LoadLayout(root, layout.name);
    if (layout.panel.Buttons().empty()) {
      error = "the panel file " + path + " has no layout '" + layout.name + "'";
      return false;
    }
  }
  return true;
}

bool Typist::Plan(const std::vector<TypingText>& texts, bool check, std::string& error) {
  // The language files' own complaints become the typist's error, never a message box.
  std::string complaint;
  const MessageHandler previous = SetMessageHandler([&complaint](const MessageCall& call) {
    complaint += (complaint.empty() ? "" : "; ") + WideToUtf8(call.text);
    return 1;
  });
  const bool planned = PlanTexts(texts, check, error);
  SetMessageHandler(previous);
  if (planned && !complaint.empty()) error = complaint;
  return planned && complaint.empty();
}

bool Typist::PlanTexts(const std::vector<TypingText>& texts, bool check, std::string& error) {
  // The settings as they are now: the options sheet may have changed them since the last text.
  LoadSettings();
  const Settings& settings = GetSettings();
  options_.learnWords = settings.AdaptiveVoc;
  options_.addSpelledWords = true;
  options_.candidateStep = CandidateStep();
  options_.addSpace = settings.AddSpace;
  options_.upper = DeviceUpper;
  tapMilliseconds_ = static_cast<UINT>(std::clamp<int32_t>(
      settings.NoiseGate + 30, static_cast<int32_t>(kTapMilliseconds), kLongestTapMilliseconds));
  if (!prepared_) {
    if (!LoadPanels(error)) return false;
    firstLanguage_ =
        SettingsText(settings.Language0).empty() ? u"English" : SettingsText(settings.Language0);
    secondLanguage_ = SettingsText(settings.Language1);
    current_ = firstLanguage_;
    prepared_ = true;
  }
  const WideString& firstLanguage = firstLanguage_;
  const WideString& secondLanguage = secondLanguage_;
  WideString& current = current_;
  for (const TypingText& part : texts) {
    const WideString name = part.language.empty() ? current : part.language;
    if (name != current) {
      if (name != firstLanguage && name != secondLanguage) {
        error = "the language '" + WideToUtf8(name) + "' is not one of the keypad's two";
        return false;
      }
      // The language key of the symbols pop-up goes to the other language.
      Action open{Tap{TapKind::kSymbolsKey}};
      Action key;
      key.extra = Extra::kLanguageKey;
      actions_.push_back(open);
      actions_.push_back(key);
      total_.taps += 2;
      current = name;
    }
    Language* language = LoadPlanningLanguage(name, error);
    if (!language) return false;
    const WideString text = WithoutCarriageReturns(part.text);
    evaluation::EnginePredictor predictor(*language);
    Recorder recorder(actions_, expected_.size(), check);
    const evaluation::TapCount count =
        evaluation::ReplayText(text, language->Keys(), &predictor, options_, state_, &recorder);
    if (count.untypable > 0) {
      const char16_t ch = text[count.firstUntypable];
      error = "cannot type " + CharacterName(ch) + " at character " +
              std::to_string(expected_.size() + count.firstUntypable + 1) +
              ": no key of the language '" + WideToUtf8(name) +
              "' and no symbol of the symbols pop-up gives it";
      return false;
    }
    expected_ += text;
    total_.taps += count.taps;
    total_.characters += count.characters;
    total_.words += count.words;
    total_.spelled += count.spelled;
    total_.letterModeWords += count.letterModeWords;
  }
  return true;
}

HWND Typist::InputWindow() const {
  return FindWindowExW(device_.SipWindow(), nullptr, kInputWindowClass, nullptr);
}

POINT Typist::ToDevice(HWND window, POINT client) const {
  ClientToScreen(window, &client);
  const POINT origin = device_.DeviceOrigin();
  return POINT{client.x - origin.x, client.y - origin.y};
}

bool Typist::ButtonPoint(const Panel& source, HWND window, int event, char16_t digit,
                         POINT& point) const {
  RECT client{};
  GetClientRect(window, &client);
  for (const auto& button : source.Buttons()) {
    const bool match = digit ? button->event0 == 0 && button->captions.count(0) &&
                                   !button->captions.at(0).empty() &&
                                   button->captions.at(0)[0] == digit
                             : button->event0 == event;
    if (!match) continue;
    const PixelRect rect = ButtonPixelRect(*button, client.right, client.bottom, 0, 0);
    point = ToDevice(window, POINT{rect.left + rect.width / 2, rect.top + rect.height / 2});
    return true;
  }
  return false;
}

bool Typist::Locate(const Action& action, POINT& point, std::string& error) const {
  const Tap& tap = action.tap;
  if (action.extra == Extra::kLanguageKey || tap.kind == TapKind::kSymbol) {
    HWND popup = FindPopup(kSymbolsWindowClass);
    if (!popup) {
      error = "the symbols pop-up did not open";
      return false;
    }
    RECT client{};
    GetClientRect(popup, &client);
    int event = -1;
    if (tap.kind == TapKind::kSymbol) {
      const WideView symbols(evaluation::kPopupSymbols);
      event = keypad::kFirstSymbol + static_cast<int>(symbols.find(tap.ch));
    }
    for (const auto& button : popup_.Buttons()) {
      const bool match = action.extra == Extra::kLanguageKey
                             ? button->id == keypad::kPopupLanguageId
                             : button->event0 == event;
      if (!match) continue;
      const PixelRect rect = ButtonPixelRect(*button, client.right, client.bottom, 0, 0);
      point = ToDevice(popup, POINT{rect.left + rect.width / 2, rect.top + rect.height / 2});
      return true;
    }
    error = "the symbols pop-up has no button for " + DescribeTap(tap);
    return false;
  }
  if (tap.kind == TapKind::kCandidate || tap.kind == TapKind::kCommitSpelled) {
    HWND candidates = FindPopup(kCandidateWindowClass);
    if (!candidates) {
      error = "the candidate window is not shown for " + DescribeTap(tap);
      return false;
    }
    RECT client{};
    GetClientRect(candidates, &client);
    const int j = tap.kind == TapKind::kCandidate ? tap.index : 0;
    const RECT cell = CandidateCell(client.right, client.bottom, tap.shown, j);
    // The pressed-key pop-up of a letter just spelled may cover the middle of the cell: the
    // person taps a part of the cell that is in view.
    const int y = (cell.top + cell.bottom) / 2;
    for (const int eighth : {4, 1, 7, 2, 6}) {
      point = ToDevice(candidates, POINT{cell.left + (cell.right - cell.left) * eighth / 8, y});
      if (pen_.WindowAt(point) == candidates) return true;
    }
    error = "the candidate window's cell for " + DescribeTap(tap) + " is covered";
    return false;
  }
  HWND input = InputWindow();
  if (!input) {
    error = "Tessaline's input window is not in the panel (is Tessaline the current input method?)";
    return false;
  }
  const bool onSymbols = onSymbolsLayout_;
  if (tap.kind == TapKind::kDigit) {
    if (ButtonPoint(symbols_, input, -1, tap.ch, point)) return true;
    error = "the symbols layout has no key for the digit " + CharacterName(tap.ch);
    return false;
  }
  const int event = ButtonEvent(tap);
  if (event >= 0 && ButtonPoint(onSymbols ? symbols_ : main_, input, event, 0, point)) return true;
  error = std::string("the ") + (onSymbols ? "symbols" : "main") + " layout has no button for " +
          DescribeTap(tap);
  return false;
}

void Typist::Queue(ScriptRunner& runner) {
  auto pen = std::make_shared<POINT>();
  if (!shotsFolder_.empty() && queued_ == 0) QueueShot(runner, L"000-start");
  for (; queued_ < actions_.size(); ++queued_) {
    const Action& action = actions_[queued_];
    const Tap& tap = action.tap;
    if (action.extra == Extra::kCheck) {
      runner.Add(
          [this, action] {
            WideString want = expected_.substr(0, action.checkEnd);
            if (action.checkSpace) want += u' ';
            const std::wstring notes = device_.NotesText();
            const WideString have(notes.begin(), notes.end());
            if (have == want) return std::string();
            return "typing went wrong after " + std::to_string(action.checkEnd) + " of " +
                   std::to_string(expected_.size()) + " characters: the Notes text is " +
                   Quoted(have) + ", it should be " + Quoted(want);
          },
          0);
      continue;
    }
    if (action.extra == Extra::kNone &&
        (tap.kind == TapKind::kMultiTapPause || tap.kind == TapKind::kSpelledCopyWait)) {
      runner.Add([] { return std::string(); }, tap.kind == TapKind::kMultiTapPause
                                                   ? kMultiTapWaitMilliseconds
                                                   : kSpelledCopyWaitMilliseconds);
      continue;
    }
    if (action.extra == Extra::kNone &&
        (tap.kind == TapKind::kSwipeToSymbols || tap.kind == TapKind::kSwipeBack)) {
      // A swipe down the keypad slides to the symbols layout, a swipe up slides back.
      const bool down = tap.kind == TapKind::kSwipeToSymbols;
      auto from = std::make_shared<POINT>(), to = std::make_shared<POINT>();
      runner.Add(
          [this, down, from, to] {
            HWND input = InputWindow();
            if (!input) return std::string("Tessaline's input window is not in the panel");
            RECT client{};
            GetClientRect(input, &client);
            const POINT top = ToDevice(input, POINT{client.right * 3 / 8, client.bottom / 20});
            const POINT bottom =
                ToDevice(input, POINT{client.right * 3 / 8, client.bottom * 19 / 20});
            *from = down ? top : bottom;
            *to = down ? bottom : top;
            pen_.Down(*from);
            return std::string();
          },
          ScriptRunner::kSwipeStepMilliseconds);
      for (int i = 1; i <= ScriptRunner::kSwipeSteps; ++i) {
        runner.Add(
            [this, from, to, i] {
              pen_.Move(POINT{from->x + (to->x - from->x) * i / ScriptRunner::kSwipeSteps,
                              from->y + (to->y - from->y) * i / ScriptRunner::kSwipeSteps});
              return std::string();
            },
            ScriptRunner::kSwipeStepMilliseconds);
      }
      runner.Add(
          [this, to, down] {
            pen_.Up(*to);
            onSymbolsLayout_ = down;
            return std::string();
          },
          kSlideWaitMilliseconds);
      continue;
    }
    const bool opensPopup = action.extra == Extra::kNone && tap.kind == TapKind::kSymbolsKey;
    // With a screenshot folder: the screen just before each pick from the candidate window or
    // the symbols pop-up, as the person sees it then.
    const bool picks = action.extra == Extra::kLanguageKey || tap.kind == TapKind::kCandidate ||
                       tap.kind == TapKind::kCommitSpelled || tap.kind == TapKind::kSymbol;
    if (!shotsFolder_.empty() && picks) {
      wchar_t name[16];
      swprintf(name, 16, L"%03d", ++shots_);
      QueueShot(runner, name);
    }
    const bool searches = tap.kind == TapKind::kLetterKey;
    // Whether the candidate window was hidden before the pen went down: the first key of a word.
    auto firstKey = std::make_shared<bool>(false);
    runner.Add(
        [this, action, pen, searches, firstKey] {
          std::string error;
          if (!Locate(action, *pen, error)) return error;
          if (searches && penUpToPaint_) {
            RECT before{};
            if (HWND candidates = FindPopup(kCandidateWindowClass)) {
              GetWindowRect(candidates, &before);
            }
            *firstKey = IsRectEmpty(&before);
          }
          pen_.Down(*pen);
          return std::string();
        },
        tapMilliseconds_);
    runner.Add(
        [this, pen, searches, firstKey] {
          if (!searches || !penUpToPaint_) {
            pen_.Up(*pen);
            return std::string();
          }
          // The key is looked up when the pen goes up; the candidate window paints what it found.
          // The window is looked for before the clock starts (the input method knows its own
          // window; looking through the top-level windows is the benchmark's work), and again
          // after the pen up only when it did not exist yet.
          HWND candidates = FindPopup(kCandidateWindowClass);
          const double start = NowMilliseconds();
          pen_.Up(*pen);
          if (!candidates) candidates = FindPopup(kCandidateWindowClass);
          if (candidates) UpdateWindow(candidates);
          const double elapsed = NowMilliseconds() - start;
          penUpToPaint_->all.Add(elapsed);
          (*firstKey ? penUpToPaint_->showing : penUpToPaint_->shown).Add(elapsed);
          return std::string();
        },
        opensPopup ? kPopupWaitMilliseconds : kAfterTapMilliseconds);
  }
}

void Typist::QueueShot(ScriptRunner& runner, const std::wstring& name) {
  runner.Add(
      [this, name] {
        const std::wstring path = shotsFolder_ + L"\\" + name + L".png";
        const std::string rgb = CaptureDevice(device_.Handle(), nullptr);
        if (rgb.empty() || !WriteScreenshot(rgb, path)) return "cannot write " + WideToUtf8(path);
        return std::string();
      },
      0);
}

std::string Typist::Report() const {
  std::string report = "taps:";
  size_t n = 0;
  for (const Action& action : actions_) {
    std::string name;
    if (action.extra == Extra::kLanguageKey) {
      name = "language";
    } else if (action.extra == Extra::kNone && action.tap.kind != TapKind::kMultiTapPause &&
               action.tap.kind != TapKind::kSpelledCopyWait) {
      name = DescribeTap(action.tap);
    }
    if (name.empty()) continue;
    report += (n++ % 12 == 0 ? "\n  " : ", ") + name;
  }
  char line[160];
  std::snprintf(line, sizeof(line),
                "\n%zu taps for %zu characters: %.3f taps per character (%zu words, %zu spelled, "
                "%zu in letter mode)\n",
                total_.taps, total_.characters, total_.TapsPerCharacter(), total_.words,
                total_.spelled, total_.letterModeWords);
  return report + line;
}

}  // namespace tessaline::emulator
