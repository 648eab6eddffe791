// Key scripts as a person writes them on the Buttons page and as the application receives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyscript/KeyScript.h"

namespace tessaline {
namespace {

// Every call in order: "text:abc", "down:0x11", "up:0x11", "pause:5".
class RecordingDelivery : public KeyDelivery {
 public:
  void SendString(const char16_t* text, size_t length) override {
    calls.push_back("text:" + WideToUtf8(WideView(text, length)));
  }
  void SendVirtualKey(uint8_t code, bool release) override {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s:0x%02X", release ? "up" : "down", code);
    calls.push_back(buf);
  }
  void Pause(unsigned milliseconds) override {
    calls.push_back("pause:" + std::to_string(milliseconds));
  }
  std::vector<std::string> calls;
};

std::vector<std::string> Send(WideView script) {
  RecordingDelivery delivery;
  SendKeyScript(CompileKeyScript(script), delivery);
  return delivery.calls;
}

using Calls = std::vector<std::string>;

TEST(KeyNameTableTest, HoldsTheRowsInTheirOrder) {
  const auto table = KeyNameTable();
  EXPECT_EQ(WideView(table[0].scriptName), u"VK_CONTROL");
  EXPECT_EQ(WideView(table[2].displayName), u"Alt");
  EXPECT_EQ(WideView(table[12].displayName), u"Pg Up");
  // Digits, letters and function keys run in order, each code one above the one before.
  for (size_t row = 18; row < 66; ++row) {
    if (row != 18 && row != 28 && row != 54) {
      EXPECT_EQ(table[row].code, table[row - 1].code + 1) << "row " << row + 1;
    }
  }
  EXPECT_EQ(table[18].code, 0x30);
  EXPECT_EQ(table[28].code, 0x41);
  EXPECT_EQ(WideView(table[53].scriptName), u"VK_Z");
  EXPECT_EQ(table[54].code, 0x70);
  EXPECT_EQ(WideView(table[65].scriptName), u"VK_F12");
  EXPECT_EQ(WideView(table[85].scriptName), u"VK_APOSTROPHE");
  EXPECT_EQ(table[85].code, 0xDE);
  EXPECT_TRUE(IsModifierRow(0) && IsModifierRow(1) && IsModifierRow(2));
  EXPECT_FALSE(IsModifierRow(3));
}

TEST(KeyScriptTest, TheLongestNameWins) {
  EXPECT_EQ(Send(u"VK_F10"), (Calls{"down:0x79", "pause:5", "up:0x79", "pause:5"}));
  EXPECT_EQ(Send(u"VK_ADD"), (Calls{"down:0x6B", "pause:5", "up:0x6B", "pause:5"}));
  EXPECT_EQ(Send(u"VK_BACKQUOTE"), (Calls{"down:0xC0", "pause:5", "up:0xC0", "pause:5"}));
  EXPECT_EQ(Send(u"VK_BACKSLASHx"),
            (Calls{"down:0xDC", "pause:5", "up:0xDC", "pause:5", "text:x"}));
  // F1 followed by a literal 3: no name "VK_F13" exists.
  EXPECT_EQ(Send(u"VK_F13"), (Calls{"down:0x70", "pause:5", "up:0x70", "pause:5", "text:3"}));
}

TEST(KeyScriptTest, SuffixesPressOrReleaseOnly) {
  EXPECT_EQ(Send(u"VK_CONTROLd+VK_HOME+VK_CONTROLu"),
            (Calls{"down:0x11", "pause:5", "down:0x24", "pause:5", "up:0x24", "pause:5", "up:0x11",
                   "pause:5"}));
  // The letter A's name followed directly by "u": a release of A without a press.
  EXPECT_EQ(Send(u"VK_Au"), (Calls{"up:0x41", "pause:5"}));
  // Ctrl pressed at the end of a script stays pressed.
  EXPECT_EQ(Send(u"VK_SHIFTd+VK_CONTROLd"),
            (Calls{"down:0x10", "pause:5", "down:0x11", "pause:5"}));
  // "VK_D" with a "d" suffix, then literal text.
  EXPECT_EQ(Send(u"VK_Ddown"), (Calls{"down:0x44", "pause:5", "text:own"}));
}

TEST(KeyScriptTest, OnlyOnePlusRightAfterANameIsDropped) {
  EXPECT_EQ(Send(u"ab+VK_RETURN"),
            (Calls{"text:ab+", "pause:5", "down:0x0D", "pause:5", "up:0x0D", "pause:5"}));
  EXPECT_EQ(Send(u"VK_RETURN+ab"),
            (Calls{"down:0x0D", "pause:5", "up:0x0D", "pause:5", "text:ab"}));
  EXPECT_EQ(Send(u"VK_TAB++x"), (Calls{"down:0x09", "pause:5", "up:0x09", "pause:5", "text:+x"}));
  EXPECT_EQ(Send(u"VK_ESCAPEu+"), (Calls{"up:0x1B", "pause:5"}));
}

TEST(KeyScriptTest, TextWithoutNamesIsOneStringAndEmptyTextSendsNothing) {
  EXPECT_EQ(Send(u"Hello, world"), (Calls{"text:Hello, world"}));
  EXPECT_EQ(Send(u""), Calls{});
  // A script ending in the middle of a name: the text that names no key stays literal.
  EXPECT_EQ(Send(u"x VK_"), (Calls{"text:x VK_"}));
  EXPECT_EQ(Send(u"VK_CONT"), (Calls{"down:0x43", "pause:5", "up:0x43", "pause:5", "text:ONT"}));
  EXPECT_EQ(Send(u"vk_home"), (Calls{"text:vk_home"}));
}

TEST(KeyScriptTest, TheMarkNeverMakesTheSenderReadPastTheText) {
  // A literal mark in a button's text is left out by the compiler.
  EXPECT_EQ(CompileKeyScript(u"a\x0001"), u"a");
  EXPECT_EQ(Send(u"\x0001\x0001VK_UP\x0001"),
            (Calls{"down:0x26", "pause:5", "up:0x26", "pause:5"}));
  // Text nobody compiled: a mark at the end has no unit and ends the script; a unit with an
  // action above 2 sends neither half.
  RecordingDelivery delivery;
  SendKeyScript(u"ab\x0001", delivery);
  SendKeyScript(WideString(u"c\x0001") + static_cast<char16_t>(0x0341) + u"d", delivery);
  EXPECT_EQ(delivery.calls, (Calls{"text:ab", "text:c", "pause:5", "text:d"}));
}

TEST(KeyScriptTest, CompiledFormIsTheMarkAndOneUnitPerKey) {
  const WideString compiled = CompileKeyScript(u"VK_CONTROLd+VK_END+VK_CONTROLu");
  ASSERT_EQ(compiled.size(), 6u);
  EXPECT_EQ(compiled[0], u'\x0001');
  EXPECT_EQ(compiled[1], 0x0111);
  EXPECT_EQ(compiled[3], 0x0023);
  EXPECT_EQ(compiled[5], 0x0211);
}

}  // namespace
}  // namespace tessaline
