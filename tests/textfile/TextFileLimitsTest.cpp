// Text beyond the fields of the tree is cut or dropped, never overrun, and damaged files with
// absurd nesting are read and freed without exhausting the stack.
#include <gtest/gtest.h>

#include <string>

#include "support/TestFiles.h"
#include "textfile/TextFile.h"

namespace tessaline {
namespace {

using testing::TempDir;

TextSection ReadText(const std::string& contents) {
  TempDir dir;
  return ReadTextFile(dir.Write("file.txt", contents));
}

TEST(TextFileLimitsTest, LongKeyNameArgumentAndValueAreCut) {
  const std::string longWord(40, 'k');
  const std::string longValue(300, 'v');
  TextSection root = ReadText(longWord + "=" + longValue + ",0x" + std::string(20, 'f') +
                              "\n[" + longWord + "=" + longWord + "]\n[end]\n");
  ASSERT_EQ(root.RecordCount(), 1);
  EXPECT_EQ(root.records[0].key, std::string(15, 'k'));
  EXPECT_EQ(root.records[0].values[0].text, std::string(127, 'v'));
  EXPECT_EQ(root.records[0].values[1].integer, 2147483647);
  ASSERT_EQ(root.ChildCount(), 1);
  EXPECT_EQ(root.children[0]->name, std::string(15, 'k'));
  EXPECT_EQ(root.children[0]->argument, std::string(17, 'k'));
}

TEST(TextFileLimitsTest, ValueLongerThanTextKeepsItsNumber) {
  // The integer is read from the whole value, not from the cut text.
  TextSection root = ReadText("a=" + std::string(130, '0') + "12\n");
  EXPECT_EQ(root.records[0].values[0].text.size(), 127u);
  EXPECT_EQ(root.records[0].values[0].integer, 10);  // octal 12
}

TEST(TextFileLimitsTest, RecordKeepsItsFirst127Values) {
  std::string line = "many=";
  for (int i = 0; i < 200; ++i) line += std::to_string(i) + ",";
  TextSection root = ReadText(line + "\n");
  ASSERT_EQ(root.RecordCount(), 1);
  ASSERT_EQ(root.records[0].ValueCount(), kMaxValueCount);
  EXPECT_EQ(root.records[0].values.back().integer, 126);
}

TEST(TextFileLimitsTest, DeepNestingIsReadAndFreedIteratively) {
  std::string text;
  const int depth = 200000;
  text.reserve(depth * 4);
  for (int i = 0; i < depth; ++i) text += "[a\n";
  text += "x=1\n";
  TextSection root = ReadText(text);
  int levels = 0;
  const TextSection* s = &root;
  while (s->ChildCount() == 1) {
    s = s->children[0].get();
    ++levels;
  }
  EXPECT_EQ(levels, depth);
  ASSERT_EQ(s->RecordCount(), 1);
  EXPECT_EQ(s->records[0].key, "x");
}

TEST(TextFileLimitsTest, SectionsPastTheChildLimitAreReadAndDropped) {
  std::string text;
  for (int i = 0; i < kMaxChildCount + 2; ++i) text += "[c]\ny=1\n[end]\n";
  text += "after=1\n";
  TextSection root = ReadText(text);
  EXPECT_EQ(root.ChildCount(), kMaxChildCount);
  ASSERT_EQ(root.RecordCount(), 1);
  EXPECT_EQ(root.records[0].key, "after");
}

TEST(TextFileLimitsTest, MoveKeepsTheTreeAndFreeEmptiesIt) {
  TextSection root = ReadText("a=1\n[b]\nc=2\n[end]\n");
  TextSection moved = std::move(root);
  ASSERT_EQ(moved.ChildCount(), 1);
  FreeSection(moved);
  EXPECT_EQ(moved.RecordCount(), 0);
  EXPECT_EQ(moved.ChildCount(), 0);
}

}  // namespace
}  // namespace tessaline
