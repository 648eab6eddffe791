// The reader of the structured text notation in which language files (.chr) and panel files
// (.pan) are written.
//
// A file becomes a tree of sections; a section holds records (a key and values) and child
// sections. Every value is kept at once as text, integer, real and truth, and the consumer picks
// the one it needs. The reader never reports a syntax error: what does not fit the notation
// becomes an odd record or is skipped, and a file that does not open gives an empty tree.
//
// Limits of the tree, and what happens to text beyond them (no field is ever overrun):
//  - a key and a section name keep their first 15 characters, a section argument its first 17,
//    a value's text its first 127 bytes (its integer, real and truth are read from the whole
//    value);
//  - a record keeps its first 127 values; further values are dropped;
//  - a section keeps its first 32,767 records and its first 32,767 child sections; sections past
//    that are still read to their "[end]" (so the lines after them land where they belong) and
//    then dropped.
// Sections nest to any depth: reading and freeing are iterative, so deep nesting in a damaged
// file cannot exhaust the stack.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessaline {

constexpr size_t kTextLineSize = 1024;  // fixed line buffer, terminator included
constexpr size_t kMaxKeyLength = 15;
constexpr size_t kMaxSectionNameLength = 15;
constexpr size_t kMaxSectionArgumentLength = 17;
constexpr size_t kMaxValueTextLength = 127;
constexpr int kMaxValueCount = 127;
constexpr int kMaxRecordCount = 32767;
constexpr int kMaxChildCount = 32767;

// Separators as the logical line carries them (outside double quotes in the file).
constexpr char kValueSeparator = '\x01';      // ","
constexpr char kStatementSeparator = '\x02';  // ";"
constexpr char kKeySeparator = '\x03';        // "="

struct TextValue {
  std::string text;   // as written (quotes removed), at most 127 bytes
  int32_t integer = 0;  // lower-cased value read like strtol with base 0, 32-bit
  float real = 0.0f;    // lower-cased value read like atof, single precision
  bool truth = false;   // lower-cased value equals "true"
};

struct TextRecord {
  std::string key;  // lower case, at most 15 characters
  std::vector<TextValue> values;

  int ValueCount() const { return static_cast<int>(values.size()); }
};

struct TextSection {
  std::string name;      // lower case, at most 15 characters; empty for the root
  std::string argument;  // lower case, at most 17 characters
  std::vector<TextRecord> records;
  std::vector<std::unique_ptr<TextSection>> children;

  TextSection() = default;
  TextSection(std::string sectionName, std::string sectionArgument);
  TextSection(TextSection&&) noexcept = default;
  TextSection& operator=(TextSection&& other) noexcept;
  TextSection(const TextSection&) = delete;
  TextSection& operator=(const TextSection&) = delete;
  ~TextSection();

  int RecordCount() const { return static_cast<int>(records.size()); }
  int ChildCount() const { return static_cast<int>(children.size()); }
};

// Reads a whole file (a device path, see system/DataFiles.h). A file that does not open gives
// the empty root; the caller tests the record or child count.
TextSection ReadTextFile(const std::string& path);

// Fills the section from the stream until its "[end]" line or the end of the stream.
void ReadSection(FILE* stream, TextSection& section);

// Frees every record, value and child of the section (the destructor does the same).
void FreeSection(TextSection& section);

// Index of the first schema entry ("name" or "name:N", separated by ";") that the record
// matches, or -1. An index out of range gives -1.
int RecordKind(const TextSection& section, int recordIndex, std::string_view schema);

// Index of the first schema name equal to the child's name, or -1.
int SectionKind(const TextSection& section, int childIndex, std::string_view schema);

// Reads the next non-empty logical line into the buffer and returns its length; 0 only at the
// end of the stream. A CR LF line end reads as one line feed on every build.
size_t ReadLogicalLine(FILE* stream, char (&buffer)[kTextLineSize]);

// Copies text[start..] up to (not including) the first character of the separator set, or to the
// end, into output; returns the position at which copying stopped. A start at or beyond the end
// gives an empty output and returns the start.
size_t NextField(std::string_view text, size_t start, std::string& output,
                 std::string_view separators);

// The number readers of the notation: strtol with base 0 kept to 32 bits (an out-of-range
// number gives the nearest 32-bit limit, as on a 32-bit C runtime), and atof on decimal notation
// (hexadecimal, "inf" and "nan" read as 0, as the device's C runtime does).
int32_t ParseTextInteger(std::string_view text);
float ParseTextReal(std::string_view text);

}  // namespace tessaline
