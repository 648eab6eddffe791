// The seams between the core and the machine: device paths, file search, clocks and messages.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestFiles.h"
#include "system/Clock.h"
#include "system/DataFiles.h"
#include "system/FileSearch.h"
#include "system/Messages.h"

namespace tessaline {
namespace {

using testing::DeviceRootScope;
using testing::TempDir;

TEST(DataFilesTest, DevicePathsLandUnderTheDeviceRoot) {
  TempDir dir;
  DeviceRootScope root(dir.Path());
  dir.Write("Program files/Tessaline/Languages/English.chr", "locale=en\n");
  FILE* f = OpenDataFile("\\Program files\\Tessaline\\Languages\\English.chr", "rb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(OpenDataFile("\\Program files\\Tessaline\\Languages\\Absent.chr", "rb"), nullptr);
}

TEST(DataFilesTest, EmptyInstallFolderRootsPathsAtTheTop) {
  TempDir dir;
  DeviceRootScope root(dir.Path());
  dir.Write("Languages/English.chr", "x=1\n");
  FILE* f = OpenDataFile("\\Languages\\English.chr", "rb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
}

TEST(FileSearchTest, WildcardsIgnoreAsciiCase) {
  EXPECT_TRUE(WildcardMatch(u"*.chr", u"English.CHR"));
  EXPECT_TRUE(WildcardMatch(u"*.chr", u"a.b.chr"));
  EXPECT_FALSE(WildcardMatch(u"*.chr", u"English.chr.bak"));
  EXPECT_TRUE(WildcardMatch(u"?b*", u"abc"));
  EXPECT_FALSE(WildcardMatch(u"?b*", u"bc"));
  EXPECT_TRUE(WildcardMatch(u"*", u""));
}

TEST(FileSearchTest, FindsMatchingFilesButNotFolders) {
  TempDir dir;
  DeviceRootScope root(dir.Path());
  dir.Write("L/English.chr", "");
  dir.Write("L/German.CHR", "");
  dir.Write("L/Old.chr.bak", "");
  dir.Write("L/Folder.chr/inner.txt", "");
  std::vector<WideString> names = FindFiles(u"\\L\\*.chr");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<WideString>{u"English.chr", u"German.CHR"}));
  EXPECT_TRUE(FindFiles(u"\\Nowhere\\*.chr").empty());
}

TEST(ClockTest, DayOfYearCountsFromZero) {
  EXPECT_EQ(DayOfYear(2026, 1, 1), 0);
  EXPECT_EQ(DayOfYear(2026, 12, 31), 364);
  EXPECT_EQ(DayOfYear(2024, 12, 31), 365);
  EXPECT_EQ(DayOfYear(2024, 3, 1), 60);
  EXPECT_EQ(DayOfYear(2100, 3, 1), 59);
}

TEST(ClockTest, TestsControlTheClocks) {
  SetUtcDateSource([] { return UtcDate{2026, 2, 3, 33}; });
  SetMillisecondSource([] { return 1234u; });
  EXPECT_EQ(CurrentUtcDate().dayOfYear, 33);
  EXPECT_EQ(MillisecondClock(), 1234u);
  SetUtcDateSource({});
  SetMillisecondSource({});
  const UtcDate now = CurrentUtcDate();
  EXPECT_GE(now.year, 2024);
  EXPECT_EQ(now.dayOfYear, DayOfYear(now.year, now.month, now.day));
}

TEST(MessagesTest, RecorderSeesTextCaptionAndStyle) {
  testing::MessageRecorder recorder(kAnswerCancel);
  EXPECT_EQ(ShowMessage(u"Can't load bitmap", kMessageOk), kAnswerCancel);
  EXPECT_EQ(ShowMessage(u"path", u"Caption", kMessageIconError), kAnswerCancel);
  ASSERT_EQ(recorder.Calls().size(), 2u);
  EXPECT_FALSE(recorder.Calls()[0].hasCaption);
  EXPECT_EQ(recorder.Calls()[1].caption, u"Caption");
  EXPECT_EQ(recorder.Calls()[1].style, static_cast<unsigned>(kMessageIconError));
}

}  // namespace
}  // namespace tessaline
