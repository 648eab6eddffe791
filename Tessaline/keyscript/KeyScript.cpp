#include "keyscript/KeyScript.h"

#include <array>

namespace tessaline {
namespace {

constexpr std::array<KeyName, kKeyNameCount> kTable = {{
    {u"VK_CONTROL", u"Ctrl", 0x11},
    {u"VK_SHIFT", u"Shift", 0x10},
    {u"VK_MENU", u"Alt", 0x12},
    {u"VK_ESCAPE", u"Esc", 0x1B},
    {u"VK_RETURN", u"Enter", 0x0D},
    {u"VK_SPACE", u"Space", 0x20},
    {u"VK_BACK", u"Back", 0x08},
    {u"VK_INSERT", u"Ins", 0x2D},
    {u"VK_DELETE", u"Del", 0x2E},
    {u"VK_HOME", u"Home", 0x24},
    {u"VK_END", u"End", 0x23},
    {u"VK_TAB", u"Tab", 0x09},
    {u"VK_PRIOR", u"Pg Up", 0x21},
    {u"VK_NEXT", u"Pg Dn", 0x22},
    {u"VK_LEFT", u"Left", 0x25},
    {u"VK_UP", u"Up", 0x26},
    {u"VK_RIGHT", u"Right", 0x27},
    {u"VK_DOWN", u"Down", 0x28},
    {u"VK_0", u"0", 0x30},
    {u"VK_1", u"1", 0x31},
    {u"VK_2", u"2", 0x32},
    {u"VK_3", u"3", 0x33},
    {u"VK_4", u"4", 0x34},
    {u"VK_5", u"5", 0x35},
    {u"VK_6", u"6", 0x36},
    {u"VK_7", u"7", 0x37},
    {u"VK_8", u"8", 0x38},
    {u"VK_9", u"9", 0x39},
    {u"VK_A", u"A", 0x41},
    {u"VK_B", u"B", 0x42},
    {u"VK_C", u"C", 0x43},
    {u"VK_D", u"D", 0x44},
    {u"VK_E", u"E", 0x45},
    {u"VK_F", u"F", 0x46},
    {u"VK_G", u"G", 0x47},
    {u"VK_H", u"H", 0x48},
    {u"VK_I", u"I", 0x49},
    {u"VK_J", u"J", 0x4A},
    {u"VK_K", u"K", 0x4B},
    {u"VK_L", u"L", 0x4C},
    {u"VK_M", u"M", 0x4D},
    {u"VK_N", u"N", 0x4E},
    {u"VK_O", u"O", 0x4F},
    {u"VK_P", u"P", 0x50},
    {u"VK_Q", u"Q", 0x51},
    {u"VK_R", u"R", 0x52},
    {u"VK_S", u"S", 0x53},
    {u"VK_T", u"T", 0x54},
    {u"VK_U", u"U", 0x55},
    {u"VK_V", u"V", 0x56},
    {u"VK_W", u"W", 0x57},
    {u"VK_X", u"X", 0x58},
    {u"VK_Y", u"Y", 0x59},
    {u"VK_Z", u"Z", 0x5A},
    {u"VK_F1", u"F1", 0x70},
    {u"VK_F2", u"F2", 0x71},
    {u"VK_F3", u"F3", 0x72},
    {u"VK_F4", u"F4", 0x73},
    {u"VK_F5", u"F5", 0x74},
    {u"VK_F6", u"F6", 0x75},
    {u"VK_F7", u"F7", 0x76},
    {u"VK_F8", u"F8", 0x77},
    {u"VK_F9", u"F9", 0x78},
    {u"VK_F10", u"F10", 0x79},
    {u"VK_F11", u"F11", 0x7A},
    {u"VK_F12", u"F12", 0x7B},
    {u"VK_SCROLL", u"Scroll", 0x91},
    {u"VK_SELECT", u"Select", 0x29},
    {u"VK_SNAPSHOT", u"Screenshot", 0x2C},
    {u"VK_MULTIPLY", u"*", 0x6A},
    {u"VK_ADD", u"+", 0x6B},
    {u"VK_SUBTRACT", u"-", 0x6D},
    {u"VK_DIVIDE", u"/", 0x6F},
    {u"VK_EQUAL", u"=", 0xBB},
    {u"VK_DECIMAL", u"Dec", 0x6E},
    {u"VK_SEPARATOR", u"_", 0x6C},
    {u"VK_SEMICOLON", u";", 0xBA},
    {u"VK_COMMA", u",", 0xBC},
    {u"VK_HYPHEN", u"-", 0xBD},
    {u"VK_PERIOD", u".", 0xBE},
    {u"VK_SLASH", u"/", 0xBF},
    {u"VK_BACKQUOTE", u"`", 0xC0},
    {u"VK_LBRACKET", u"[", 0xDB},
    {u"VK_BACKSLASH", u"\\", 0xDC},
    {u"VK_RBRACKET", u"]", 0xDD},
    {u"VK_APOSTROPHE", u"'", 0xDE},
}};

// The longest script name that begins at `at`, or nullptr.
const KeyName* LongestNameAt(WideView script, size_t at, size_t& length) {
  const KeyName* best = nullptr;
  length = 0;
  const WideView rest = script.substr(at);
  for (const KeyName& key : kTable) {
    const WideView name(key.scriptName);
    if (name.size() > length && rest.starts_with(name)) {
      best = &key;
      length = name.size();
    }
  }
  return best;
}

}  // namespace

std::span<const KeyName, kKeyNameCount> KeyNameTable() { return kTable; }

bool IsModifierRow(size_t row) { return row < 3; }

WideString CompileKeyScript(WideView script) {
  WideString out;
  size_t at = 0;
  while (at < script.size()) {
    size_t length = 0;
    const KeyName* key = LongestNameAt(script, at, length);
    if (!key) {
      if (script[at] != kKeyEventMark) out.push_back(script[at]);
      ++at;
      continue;
    }
    at += length;
    uint8_t action = kPressAndRelease;
    if (at < script.size() && script[at] == u'd') {
      action = kPressOnly;
      ++at;
    } else if (at < script.size() && script[at] == u'u') {
      action = kReleaseOnly;
      ++at;
    }
    if (at < script.size() && script[at] == u'+') ++at;
    out.push_back(kKeyEventMark);
    out.push_back(static_cast<char16_t>(action << 8 | key->code));
  }
  return out;
}

std::vector<KeyScriptEvent> ReadCompiledKeyScript(WideView compiled) {
  std::vector<KeyScriptEvent> events;
  size_t at = 0;
  while (at < compiled.size()) {
    const size_t mark = compiled.find(kKeyEventMark, at);
    const size_t textEnd = mark == WideView::npos ? compiled.size() : mark;
    if (textEnd > at) {
      KeyScriptEvent text;
      text.text = WideString(compiled.substr(at, textEnd - at));
      events.push_back(std::move(text));
    }
    // The unit after the mark; a mark at the very end has none.
    if (mark == WideView::npos || mark + 1 >= compiled.size()) break;
    KeyScriptEvent key;
    key.isKey = true;
    key.code = static_cast<uint8_t>(compiled[mark + 1] & 0xFF);
    key.action = static_cast<uint8_t>(compiled[mark + 1] >> 8);
    events.push_back(std::move(key));
    at = mark + 2;
  }
  return events;
}

void SendKeyScript(WideView compiled, KeyDelivery& delivery) {
  const std::vector<KeyScriptEvent> events = ReadCompiledKeyScript(compiled);
  for (size_t i = 0; i < events.size(); ++i) {
    const KeyScriptEvent& event = events[i];
    if (!event.isKey) {
      delivery.SendString(event.text.data(), event.text.size());
      // Text that ends the script is the last call: nothing follows it to wait for.
      if (i + 1 < events.size()) delivery.Pause(kKeyScriptPauseMilliseconds);
      continue;
    }
    if (event.action == kPressAndRelease || event.action == kPressOnly) {
      delivery.SendVirtualKey(event.code, false);
      delivery.Pause(kKeyScriptPauseMilliseconds);
    }
    if (event.action == kPressAndRelease || event.action == kReleaseOnly) {
      delivery.SendVirtualKey(event.code, true);
      delivery.Pause(kKeyScriptPauseMilliseconds);
    }
  }
}

}  // namespace tessaline
