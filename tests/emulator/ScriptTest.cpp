// The headless emulator's scripts and command line: what a person writes, and the errors that
// must name the line and the problem.
#include <gtest/gtest.h>

#include "script/CommandLine.h"
#include "script/Script.h"

namespace tessaline::emulator {
namespace {

TEST(Script, ReadsEveryCommandWithItsNumbers) {
  std::vector<ScriptCommand> commands;
  ScriptError error;
  ASSERT_TRUE(
      ParseScript("# a comment\r\n\ntap 10 20\r\ndown 1 2\nmove 3 4\nup 5 6\n"
                  "hold 7 8 900\nswipe 0 300 239 300\nwait 1500\nshot keypad.png\n"
                  "options\nshow\nhide\nKEY Home\n",
                  commands, error))
      << error.message;
  ASSERT_EQ(commands.size(), 12u);
  EXPECT_EQ(commands[0].verb, ScriptVerb::kTap);
  EXPECT_EQ(commands[0].line, 3);
  EXPECT_EQ(commands[0].numbers[0], 10);
  EXPECT_EQ(commands[0].numbers[1], 20);
  EXPECT_EQ(commands[4].verb, ScriptVerb::kHold);
  EXPECT_EQ(commands[4].numbers[2], 900);
  EXPECT_EQ(commands[5].numbers[2], 239);
  EXPECT_EQ(commands[5].numbers[3], 300);
  EXPECT_EQ(commands[6].numbers[0], 1500);
  EXPECT_EQ(commands[7].name, "keypad");  // ".png" is added when the file is written
  EXPECT_EQ(commands[11].verb, ScriptVerb::kKey);
  ASSERT_EQ(commands[11].keys.size(), 1u);
  EXPECT_EQ(commands[11].keys[0].code, 0x24);
  EXPECT_TRUE(commands[11].keys[0].press && commands[11].keys[0].release);
}

TEST(Script, TextCommandsKeepTheRestOfTheLine) {
  std::vector<ScriptCommand> commands;
  ScriptError error;
  // One blank after the verb is the separator; further blanks, inner spaces and "\n" are text.
  ASSERT_TRUE(ParseScript(
                  "type  is calm\r\nType Hi,\\nyou\npage Interface\npress Auto space\nchoose Zqxjv\n",
                  commands, error))
      << error.message;
  ASSERT_EQ(commands.size(), 5u);
  EXPECT_EQ(commands[4].verb, ScriptVerb::kChoose);
  EXPECT_EQ(commands[4].name, "Zqxjv");
  EXPECT_EQ(commands[0].verb, ScriptVerb::kType);
  EXPECT_EQ(commands[0].name, " is calm");
  EXPECT_EQ(commands[1].name, "Hi,\nyou");
  EXPECT_EQ(commands[2].verb, ScriptVerb::kPage);
  EXPECT_EQ(commands[2].name, "Interface");
  EXPECT_EQ(commands[3].verb, ScriptVerb::kPress);
  EXPECT_EQ(commands[3].name, "Auto space");
  EXPECT_EQ(commands[3].line, 4);
  EXPECT_FALSE(ParseScript("tap 1 2\npress\n", commands, error));
  EXPECT_EQ(error.message, "line 2: 'press' takes the form 'press TEXT'");
  EXPECT_TRUE(commands.empty());
}

TEST(Script, KeyScriptsKeepModifiersHeldAcrossTheKeys) {
  std::vector<ScriptCommand> commands;
  ScriptError error;
  ASSERT_TRUE(ParseScript("key VK_CONTROLd+VK_HOME+VK_CONTROLu", commands, error));
  const auto& keys = commands[0].keys;
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].code, 0x11);
  EXPECT_TRUE(keys[0].press);
  EXPECT_FALSE(keys[0].release);
  EXPECT_EQ(keys[1].code, 0x24);
  EXPECT_TRUE(keys[1].press && keys[1].release);
  EXPECT_EQ(keys[2].code, 0x11);
  EXPECT_FALSE(keys[2].press);
  EXPECT_TRUE(keys[2].release);
}

// Each bad line is reported with its number and what is wrong with it; nothing of the script
// is kept.
TEST(Script, BadLinesNameTheirLineAndTheProblem) {
  struct Case {
    const char* script;
    int line;
    const char* says;
  } cases[] = {
      {"tap 1 2\n\njump 3 4\n", 3, "unknown command 'jump'"},
      {"tap 1\n", 1, "'tap' takes the form 'tap X Y', got 1 argument(s)"},
      {"wait 10\ntap 1 2 3\n", 2, "got 3 argument(s)"},
      {"tap x 2\n", 1, "'x' is not a whole number of device pixels"},
      {"tap 1.5 2\n", 1, "'1.5' is not a whole number"},
      {"hold 1 2 -5\n", 1, "'-5' is not a time in milliseconds"},
      {"wait 99999999999\n", 1, "is not a time in milliseconds"},
      {"shot ../outside\n", 1, "is not a plain file name"},
      {"shot\n", 1, "'shot' takes the form 'shot NAME'"},
      {"options now\n", 1, "'options' takes nothing"},
      {"key VK_NOSUCH\n", 1, "'VK_NOSUCH' is neither a key name"},
      {"key abcVK_HOME\n", 1, "is neither a key name"},
  };
  for (const Case& c : cases) {
    std::vector<ScriptCommand> commands;
    ScriptError error;
    EXPECT_FALSE(ParseScript(c.script, commands, error)) << c.script;
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(error.line, c.line) << c.script;
    EXPECT_EQ(error.message.rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << error.message;
    EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
  }
}

TEST(Script, KeyNamesByScriptOrDisplayName) {
  EXPECT_EQ(KeyCodeByName("VK_F10"), 0x79);
  EXPECT_EQ(KeyCodeByName("vk_return"), 0x0D);
  EXPECT_EQ(KeyCodeByName("Enter"), 0x0D);
  EXPECT_EQ(KeyCodeByName("pg dn"), 0x22);
  EXPECT_EQ(KeyCodeByName("Back"), 0x08);
  EXPECT_EQ(KeyCodeByName(""), 0);
}

TEST(CommandLine, ReadsOptionsAndRefusesMistakes) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--headless", "--script", "a.txt", "--shots", "out", "--trace"},
                               line, error));
  EXPECT_TRUE(line.headless);
  EXPECT_EQ(line.script, "a.txt");
  EXPECT_EQ(line.shots, "out");
  ASSERT_TRUE(ParseCommandLine({"--zoom", "3"}, line, error));
  EXPECT_EQ(line.zoom, 3);
  ASSERT_TRUE(ParseCommandLine({"--zoom=2", "-h"}, line, error));
  EXPECT_EQ(line.zoom, 2);
  EXPECT_TRUE(line.help);
  EXPECT_FALSE(line.headless);  // nothing is left over from the line read before

  // Texts to type take the last language before them; a text before any takes the first one.
  ASSERT_TRUE(ParseCommandLine({"--type", "a", "--language", "English", "--type-file", "b.txt",
                                "--language", "German", "--type", "c"},
                               line, error));
  ASSERT_EQ(line.typing.size(), 3u);
  EXPECT_EQ(line.typing[0].language, "English");
  EXPECT_EQ(line.typing[1].file, "b.txt");
  EXPECT_EQ(line.typing[1].language, "English");
  EXPECT_EQ(line.typing[2].text, "c");
  EXPECT_EQ(line.typing[2].language, "German");

  const std::vector<std::vector<std::string>> wrong = {{"--zoom", "4"},
                                                       {"--zoom"},
                                                       {"--script"},
                                                       {"--bogus"},
                                                       {"--type", "a", "--script", "b"},
                                                       {"--language", "", "--type", "a"},
                                                       {"--type-file", ""},
                                                       {"--type", "a", "stray"},
                                                       {"--headless", "--zoom", "2"}};
  for (const auto& arguments : wrong) {
    EXPECT_FALSE(ParseCommandLine(arguments, line, error)) << arguments[0];
    EXPECT_FALSE(error.empty());
  }
  // The message names what was wrong.
  ASSERT_FALSE(ParseCommandLine({"--zoom", "4"}, line, error));
  EXPECT_NE(error.find("--zoom takes 1, 2 or 3, not '4'"), std::string::npos) << error;
}

TEST(CommandLine, TheInstallerAndUninstallerRunWithoutTheDeviceScreen) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--install", "--package", "Z:\\pkg", "--headless"}, line, error));
  EXPECT_TRUE(line.install);
  EXPECT_EQ(line.package, "Z:\\pkg");
  ASSERT_TRUE(ParseCommandLine({"--uninstall", "Tulvane Tessaline"}, line, error));
  EXPECT_EQ(line.uninstall, "Tulvane Tessaline");

  const std::vector<std::vector<std::string>> wrong = {{"--install", "--uninstall", "X"},
                                                       {"--package", "pkg"},
                                                       {"--uninstall", ""},
                                                       {"--install", "--script", "a.txt"}};
  for (const auto& arguments : wrong) {
    EXPECT_FALSE(ParseCommandLine(arguments, line, error)) << arguments[0];
  }
}

}  // namespace
}  // namespace tessaline::emulator
