// The script commands of the platform around the product: names with spaces, the answers that
// exist, and the commands that take nothing.
#include <gtest/gtest.h>

#include "script/Script.h"

namespace tessaline::emulator::testing {
namespace {

TEST(DeviceCommands, NamesTakeTheRestOfTheLineAndAnswersAreChecked) {
  std::vector<ScriptCommand> commands;
  ScriptError error;
  ASSERT_TRUE(
      ParseScript("install\ncurrent TSInputM  Class\npick Keyboard\nANSWER Cancel\nreset\n"
                  "uninstall\n",
                  commands, error))
      << error.message;
  ASSERT_EQ(commands.size(), 6u);
  EXPECT_EQ(commands[0].verb, ScriptVerb::kInstall);
  EXPECT_EQ(commands[1].verb, ScriptVerb::kCurrent);
  EXPECT_EQ(commands[1].name, "TSInputM Class");  // words joined by one space
  EXPECT_EQ(commands[2].name, "Keyboard");
  EXPECT_EQ(commands[3].verb, ScriptVerb::kAnswer);
  EXPECT_EQ(commands[3].name, "cancel");
  EXPECT_EQ(commands[4].verb, ScriptVerb::kReset);
  EXPECT_EQ(commands[5].verb, ScriptVerb::kUninstall);

  struct Case {
    const char* script;
    const char* says;
  } cases[] = {
      {"answer maybe\n", "'maybe' is no answer: 'answer ok' or 'answer cancel'"},
      {"answer\n", "'answer' takes the form 'answer ok|cancel'"},
      {"answer ok now\n", "'answer' takes the form"},
      {"install now\n", "'install' takes nothing"},
      {"reset 3\n", "'reset' takes nothing"},
      {"current\n", "'current' takes the form 'current NAME'"},
      {"pick\n", "'pick' takes the form 'pick NAME'"},
  };
  for (const Case& c : cases) {
    commands.clear();
    EXPECT_FALSE(ParseScript(c.script, commands, error)) << c.script;
    EXPECT_NE(error.message.find(c.says), std::string::npos) << error.message;
  }
}

}  // namespace
}  // namespace tessaline::emulator::testing
