// The notation as language and panel files use it: statements, values, sections, comments and
// quotes, read the same on both builds.
#include <gtest/gtest.h>

#include <cstdio>
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

const TextValue& Value(const TextSection& s, int record, int value) {
  return s.records.at(static_cast<size_t>(record)).values.at(static_cast<size_t>(value));
}

TEST(TextFileTest, QuotedValueKeepsCommaSpaceAndCaseAndHexReadsAsInteger) {
  TextSection root = ReadText("KeyOne = \"Hello, World\"; second = 0x1F  // note\n");
  ASSERT_EQ(root.RecordCount(), 2);
  EXPECT_EQ(root.records[0].key, "keyone");
  ASSERT_EQ(root.records[0].ValueCount(), 1);
  EXPECT_EQ(Value(root, 0, 0).text, "Hello, World");
  EXPECT_EQ(root.records[1].key, "second");
  EXPECT_EQ(Value(root, 1, 0).integer, 31);
  EXPECT_EQ(Value(root, 1, 0).text, "0x1F");
}

TEST(TextFileTest, ValueInterpretations) {
  TextSection root = ReadText("a=TRUE,1,2.5,017,-12,abc,TrUe,0x,09,+7, 1e3\n");
  ASSERT_EQ(root.RecordCount(), 1);
  const auto& v = root.records[0].values;
  ASSERT_EQ(v.size(), 11u);
  EXPECT_TRUE(v[0].truth);
  EXPECT_EQ(v[0].text, "TRUE");
  EXPECT_FALSE(v[1].truth);
  EXPECT_EQ(v[1].integer, 1);
  EXPECT_EQ(v[2].integer, 2);
  EXPECT_FLOAT_EQ(v[2].real, 2.5f);
  EXPECT_EQ(v[3].integer, 15);  // a leading zero reads octal
  EXPECT_FLOAT_EQ(v[3].real, 17.0f);
  EXPECT_EQ(v[4].integer, -12);
  EXPECT_EQ(v[5].integer, 0);
  EXPECT_FLOAT_EQ(v[5].real, 0.0f);
  EXPECT_TRUE(v[6].truth);
  EXPECT_EQ(v[7].integer, 0);  // "0x" alone is the number 0
  EXPECT_EQ(v[8].integer, 0);  // 9 is no octal digit
  EXPECT_EQ(v[9].integer, 7);
  EXPECT_FLOAT_EQ(v[10].real, 1000.0f);
}

TEST(TextFileTest, NumbersKeepTo32BitsAndDecimalNotation) {
  EXPECT_EQ(ParseTextInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseTextInteger("2147483648"), 2147483647);
  EXPECT_EQ(ParseTextInteger("0xffffffff"), 2147483647);
  EXPECT_EQ(ParseTextInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseTextInteger("-99999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(ParseTextInteger("0x00ff00"), 0xff00);
  EXPECT_EQ(ParseTextInteger("  42abc"), 42);
  EXPECT_FLOAT_EQ(ParseTextReal("0x10"), 0.0f);
  EXPECT_FLOAT_EQ(ParseTextReal("inf"), 0.0f);
  EXPECT_FLOAT_EQ(ParseTextReal("-.5"), -0.5f);
  EXPECT_FLOAT_EQ(ParseTextReal("3e"), 3.0f);
  EXPECT_FLOAT_EQ(ParseTextReal("."), 0.0f);
}

TEST(TextFileTest, EmptyValuesAndValuelessRecords) {
  TextSection root = ReadText("a=1,,2\nb=\nc\nd=,,\n");
  ASSERT_EQ(root.RecordCount(), 4);
  EXPECT_EQ(root.records[0].ValueCount(), 2);
  EXPECT_EQ(Value(root, 0, 1).integer, 2);
  EXPECT_EQ(root.records[1].key, "b");
  EXPECT_EQ(root.records[1].ValueCount(), 0);
  EXPECT_EQ(root.records[2].key, "c");
  EXPECT_EQ(root.records[2].ValueCount(), 0);
  EXPECT_EQ(root.records[3].ValueCount(), 0);
}

TEST(TextFileTest, CommentsSlashesAndSpaces) {
  TextSection root = ReadText(
      "a = x   // comment\n"
      "b = and/or\n"
      "c = \"and/or\"\n"
      "d = two words\n"
      "e = \" padded \"\n");
  ASSERT_EQ(root.RecordCount(), 5);
  EXPECT_EQ(Value(root, 0, 0).text, "x");
  EXPECT_EQ(Value(root, 1, 0).text, "and");
  EXPECT_EQ(Value(root, 2, 0).text, "and/or");
  EXPECT_EQ(Value(root, 3, 0).text, "twowords");
  EXPECT_EQ(Value(root, 4, 0).text, " padded ");
}

TEST(TextFileTest, TabsAreDroppedInsideQuotesToo) {
  TextSection root = ReadText("a=\"x\ty z\"\n");
  ASSERT_EQ(root.RecordCount(), 1);
  EXPECT_EQ(Value(root, 0, 0).text, "xy z");
}

TEST(TextFileTest, SeparatorsInsideQuotesSeparateNothing) {
  TextSection root = ReadText("a=\"1;b=2,3\"\n");
  ASSERT_EQ(root.RecordCount(), 1);
  ASSERT_EQ(root.records[0].ValueCount(), 1);
  EXPECT_EQ(Value(root, 0, 0).text, "1;b=2,3");
  EXPECT_EQ(Value(root, 0, 0).integer, 1);
}

TEST(TextFileTest, BlankCommentAndWhitespaceLinesAreSkipped) {
  TextSection root = ReadText("\n// only a comment\n   \t  \n\na=1\n\n");
  ASSERT_EQ(root.RecordCount(), 1);
  EXPECT_EQ(root.records[0].key, "a");
}

TEST(TextFileTest, SectionsWithNameArgumentAndNesting) {
  TextSection root = ReadText(
      "top=1\n"
      "[Layout=Main]\n"
      "  x=1\n"
      "  [button=12]\n"
      "    pos=1,2\n"
      "    [cell]\n"
      "      rect=0,0,10,10\n"
      "    [end]\n"
      "  [end]\n"
      "  y=2\n"
      "[END]\n"
      "after=3\n");
  ASSERT_EQ(root.RecordCount(), 2);
  EXPECT_EQ(root.records[1].key, "after");
  ASSERT_EQ(root.ChildCount(), 1);
  const TextSection& layout = *root.children[0];
  EXPECT_EQ(layout.name, "layout");
  EXPECT_EQ(layout.argument, "main");
  ASSERT_EQ(layout.RecordCount(), 2);
  EXPECT_EQ(layout.records[1].key, "y");
  ASSERT_EQ(layout.ChildCount(), 1);
  const TextSection& button = *layout.children[0];
  EXPECT_EQ(button.name, "button");
  EXPECT_EQ(button.argument, "12");
  ASSERT_EQ(button.ChildCount(), 1);
  EXPECT_EQ(button.children[0]->name, "cell");
  EXPECT_EQ(button.children[0]->argument, "");
  EXPECT_EQ(button.children[0]->records[0].ValueCount(), 4);
}

TEST(TextFileTest, HeaderIgnoresTheRestOfItsLine) {
  TextSection root = ReadText("[a=b]c=1;d=2\ne=3\n[end]\n");
  ASSERT_EQ(root.ChildCount(), 1);
  ASSERT_EQ(root.children[0]->RecordCount(), 1);
  EXPECT_EQ(root.children[0]->records[0].key, "e");
}

TEST(TextFileTest, EndLineVariants) {
  // Capitals and inner spaces close a section; "[end]" sharing a line opens a section "end".
  TextSection root = ReadText(
      "[a]\nx=1\n[ End ]\n"
      "[b]\ny=1;[end]\nz=1\n[end]\nw=1\n[end]\n"
      "v=1\n");
  ASSERT_EQ(root.ChildCount(), 2);
  EXPECT_EQ(root.children[0]->RecordCount(), 1);
  const TextSection& b = *root.children[1];
  ASSERT_EQ(b.RecordCount(), 2);
  EXPECT_EQ(b.records[0].key, "y");
  EXPECT_EQ(b.records[1].key, "w");
  ASSERT_EQ(b.ChildCount(), 1);
  EXPECT_EQ(b.children[0]->name, "end");
  EXPECT_EQ(b.children[0]->records[0].key, "z");
  EXPECT_EQ(root.RecordCount(), 1);
}

TEST(TextFileTest, TopLevelEndStopsTheFile) {
  TextSection root = ReadText("a=1\n[end]\nb=2\n[c]\n");
  ASSERT_EQ(root.RecordCount(), 1);
  EXPECT_EQ(root.ChildCount(), 0);
}

TEST(TextFileTest, FileEndingInsideSectionsKeepsWhatWasRead) {
  TextSection root = ReadText("[a=1]\nx=1\n[b=2]\ny=2");
  ASSERT_EQ(root.ChildCount(), 1);
  ASSERT_EQ(root.children[0]->ChildCount(), 1);
  const TextSection& b = *root.children[0]->children[0];
  ASSERT_EQ(b.RecordCount(), 1);
  EXPECT_EQ(b.records[0].key, "y");
  EXPECT_EQ(b.records[0].values[0].integer, 2);
}

TEST(TextFileTest, LoneQuoteOpensQuotesForTheNextLine) {
  TextSection root = ReadText("\"\nA b=c,d\nk=v\n");
  ASSERT_EQ(root.RecordCount(), 2);
  EXPECT_EQ(root.records[0].key, "a b=c,d");  // quoted: separators are literal
  EXPECT_EQ(root.records[0].ValueCount(), 0);
  EXPECT_EQ(root.records[1].key, "k");  // quotes do not carry past a non-empty line
  EXPECT_EQ(Value(root, 1, 0).text, "v");
}

TEST(TextFileTest, CrLfReadsAsOneLineFeedOnEveryBuild) {
  TextSection root = ReadText("a=x\r\nb=\"y\"\r\n[s=t]\r\nc=1\r\n[end]\r\nd=q\rr\r\n");
  ASSERT_EQ(root.RecordCount(), 3);
  EXPECT_EQ(Value(root, 0, 0).text, "x");
  EXPECT_EQ(Value(root, 1, 0).text, "y");
  ASSERT_EQ(root.ChildCount(), 1);
  EXPECT_EQ(root.children[0]->argument, "t");
  EXPECT_EQ(Value(root, 2, 0).text, "q\rr");  // a lone CR is an ordinary character
}

TEST(TextFileTest, LongPhysicalLineIsReadInPieces) {
  TempDir dir;
  const std::string path = dir.Write("long.txt", std::string(1500, 'a') + "\nb\n");
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char buffer[kTextLineSize];
  EXPECT_EQ(ReadLogicalLine(f, buffer), 1022u);
  EXPECT_EQ(ReadLogicalLine(f, buffer), 478u);
  EXPECT_EQ(ReadLogicalLine(f, buffer), 1u);
  EXPECT_STREQ(buffer, "b");
  EXPECT_EQ(ReadLogicalLine(f, buffer), 0u);
  std::fclose(f);
}

TEST(TextFileTest, LogicalLineCarriesSeparatorCodes) {
  TempDir dir;
  const std::string path =
      dir.Write("l.txt", "key = one, two ; other = \"a, b\" // comment\n");
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char buffer[kTextLineSize];
  const size_t n = ReadLogicalLine(f, buffer);
  EXPECT_EQ(std::string(buffer, n), "key\x03one\x01two\x02other\x03" "a, b");
  std::fclose(f);
}

TEST(TextFileTest, EmbeddedNulEndsTheLinesText) {
  TextSection root = ReadText(std::string("a=1\0b=2\nc=3\n", 12));
  ASSERT_EQ(root.RecordCount(), 2);
  EXPECT_EQ(root.records[0].key, "a");
  EXPECT_EQ(root.records[1].key, "c");
}

TEST(TextFileTest, MissingFileGivesEmptyRoot) {
  TempDir dir;
  TextSection root = ReadTextFile(dir.File("absent.txt"));
  EXPECT_EQ(root.RecordCount(), 0);
  EXPECT_EQ(root.ChildCount(), 0);
  EXPECT_EQ(root.name, "");
  EXPECT_EQ(root.argument, "");
}

TEST(TextFileTest, RecordAndSectionKinds) {
  TextSection root = ReadText(
      "chararraybase=2,1\nchararraybase=2,1,1\nlocale=en\nbutton=1,2,3,4\nbutton=1,2,3,4,5\n"
      "button=1,2,3\nunknown=1\n[cell]\n[end]\n[icon]\n[end]\n[other]\n[end]\n");
  const char* language = "charset;locale;chararray;chararraybase:2";
  EXPECT_EQ(RecordKind(root, 0, language), 3);
  EXPECT_EQ(RecordKind(root, 1, language), -1);
  EXPECT_EQ(RecordKind(root, 2, language), 1);
  const char* layout = "button:4;default_sx:1;default_sy:1;button:5;";
  EXPECT_EQ(RecordKind(root, 3, layout), 0);
  EXPECT_EQ(RecordKind(root, 4, layout), 3);
  EXPECT_EQ(RecordKind(root, 5, layout), -1);
  EXPECT_EQ(RecordKind(root, 6, layout), -1);
  EXPECT_EQ(RecordKind(root, 99, layout), -1);
  EXPECT_EQ(SectionKind(root, 0, "button_layout;layout;cell;icon"), 2);
  EXPECT_EQ(SectionKind(root, 1, "button_layout;layout;cell;icon"), 3);
  EXPECT_EQ(SectionKind(root, 2, "button_layout;layout;cell;icon"), -1);
  EXPECT_EQ(SectionKind(root, 3, "cell"), -1);
}

TEST(TextFileTest, NextFieldStopsAtSeparatorsOrTheEnd) {
  std::string out = "stale";
  EXPECT_EQ(NextField("ab,cd", 0, out, ","), 2u);
  EXPECT_EQ(out, "ab");
  EXPECT_EQ(NextField("ab,cd", 3, out, ",;"), 5u);
  EXPECT_EQ(out, "cd");
  EXPECT_EQ(NextField("ab", 7, out, ","), 7u);
  EXPECT_EQ(out, "");
  EXPECT_EQ(NextField("ab", 2, out, ","), 2u);
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace tessaline
