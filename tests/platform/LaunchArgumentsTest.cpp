// The command line of the programs the device starts from a launch slot.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/LaunchArguments.h"

namespace tessaline::device {
namespace {

using Arguments = std::vector<std::wstring>;

TEST(LaunchArgumentsTest, WhiteSpaceSeparatesAndQuotesGroup) {
  EXPECT_EQ(SplitArguments(L"71"), Arguments{L"71"});
  EXPECT_EQ(SplitArguments(L"  71 \t 72\r\n"), (Arguments{L"71", L"72"}));
  EXPECT_EQ(SplitArguments(L"\"\\Program files\\x\" 7\"1 2\"3"),
            (Arguments{L"\\Program files\\x", L"71 23"}));
  EXPECT_EQ(SplitArguments(L"\"\" a"), (Arguments{L"", L"a"}));
  EXPECT_EQ(SplitArguments(L"\"open to the end"), Arguments{L"open to the end"});
  EXPECT_TRUE(SplitArguments(L"").empty());
  EXPECT_TRUE(SplitArguments(L" \t ").empty());
}

TEST(LaunchArgumentsTest, TheProgramsOwnNameIsLeftOut) {
  EXPECT_EQ(ArgumentsAfterProgramName(L"\"C:\\Program files\\T\\TSSelect.exe\" 71"),
            Arguments{L"71"});
  EXPECT_EQ(ArgumentsAfterProgramName(L"TSSelect.exe \"71\""), Arguments{L"71"});
  EXPECT_TRUE(ArgumentsAfterProgramName(L"TSSelect.exe").empty());
  EXPECT_TRUE(ArgumentsAfterProgramName(L"\"C:\\open name 71").empty());
}

TEST(LaunchArgumentsTest, TheSlotNumberIsReadLikeTheCRuntimeReadsDecimals) {
  EXPECT_EQ(DecimalArgument(L"71"), 71u);
  EXPECT_EQ(DecimalArgument(L" 78x"), 78u);
  EXPECT_EQ(DecimalArgument(L"+5"), 5u);
  EXPECT_EQ(DecimalArgument(L"slot"), 0u);
  EXPECT_EQ(DecimalArgument(L""), 0u);
  EXPECT_EQ(DecimalArgument(L"99999999999999999999"), 0xFFFFFFFFu);  // kept to 32 bits
}

}  // namespace
}  // namespace tessaline::device
