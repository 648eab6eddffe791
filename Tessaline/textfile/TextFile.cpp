#include "textfile/TextFile.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "system/DataFiles.h"

namespace tessaline {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

std::string Cut(std::string text, size_t maxLength) {
  if (text.size() > maxLength) text.resize(maxLength);
  return text;
}

void LowerAscii(std::string& text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
}

// One physical line, as fgets with a buffer of `size` bytes reads it from a stream opened in
// text mode under Windows: at most size - 1 bytes, ending after a line feed, with CR LF folded to
// one line feed. The files are opened in binary mode on every build and folded here, so that the
// native build and the Win32 build read every file alike. Returns the number of bytes stored.
size_t ReadPhysicalLine(FILE* stream, char* buffer, size_t size) {
  size_t n = 0;
  while (n + 1 < size) {
    int c = std::getc(stream);
    if (c == EOF) break;
    if (c == '\r') {
      const int next = std::getc(stream);
      if (next == '\n') {
        c = '\n';
      } else if (next != EOF) {
        std::ungetc(next, stream);
      }
    }
    buffer[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[n] = '\0';
  return n;
}

bool StreamEnded(FILE* stream) { return std::feof(stream) || std::ferror(stream); }

TextValue MakeValue(const std::string& asWritten, const std::string& lowered) {
  TextValue value;
  value.text = Cut(asWritten, kMaxValueTextLength);
  value.integer = ParseTextInteger(lowered);
  value.real = ParseTextReal(lowered);
  value.truth = lowered == "true";
  return value;
}

TextRecord MakeRecord(const std::string& raw, const std::string& working) {
  TextRecord record;
  std::string key;
  size_t pos = NextField(working, 0, key, std::string_view(&kKeySeparator, 1));
  record.key = Cut(key, kMaxKeyLength);
  if (pos >= working.size()) return record;  // a key alone: no values
  ++pos;
  std::string lowered, asWritten;
  while (pos < working.size()) {
    const size_t stop = NextField(working, pos, lowered, std::string_view(&kValueSeparator, 1));
    NextField(raw, pos, asWritten, std::string_view(&kValueSeparator, 1));
    pos = stop + 1;
    if (lowered.empty()) continue;  // two separators in a row give no empty value
    if (record.ValueCount() >= kMaxValueCount) break;
    record.values.push_back(MakeValue(asWritten, lowered));
  }
  return record;
}

std::unique_ptr<TextSection> MakeChild(const std::string& statement) {
  std::string name, argument;
  size_t pos = NextField(statement, 1, name, std::string_view("\x03]", 2));
  if (pos < statement.size()) NextField(statement, pos + 1, argument, "]");
  return std::make_unique<TextSection>(Cut(name, kMaxSectionNameLength),
                                       Cut(argument, kMaxSectionArgumentLength));
}

}  // namespace

TextSection::TextSection(std::string sectionName, std::string sectionArgument)
    : name(std::move(sectionName)), argument(std::move(sectionArgument)) {}

TextSection& TextSection::operator=(TextSection&& other) noexcept {
  if (this != &other) {
    FreeSection(*this);
    name = std::move(other.name);
    argument = std::move(other.argument);
    records = std::move(other.records);
    children = std::move(other.children);
  }
  return *this;
}

TextSection::~TextSection() { FreeSection(*this); }

void FreeSection(TextSection& section) {
  // Children are detached into a work list before they are destroyed, so that the destruction of
  // a deep tree never recurses.
  std::vector<std::unique_ptr<TextSection>> pending = std::move(section.children);
  section.children.clear();
  section.records.clear();
  while (!pending.empty()) {
    std::unique_ptr<TextSection> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->children) pending.push_back(std::move(child));
    node->children.clear();
  }
}

size_t NextField(std::string_view text, size_t start, std::string& output,
                 std::string_view separators) {
  output.clear();
  if (start >= text.size()) return start;
  size_t pos = start;
  while (pos < text.size() && separators.find(text[pos]) == std::string_view::npos) ++pos;
  output.assign(text.substr(start, pos - start));
  return pos;
}

size_t ReadLogicalLine(FILE* stream, char (&buffer)[kTextLineSize]) {
  char physical[kTextLineSize];
  bool inQuotes = false;
  for (;;) {
    size_t out = 0;
    // fgets with 1023 bytes: at most 1022 characters and the terminator.
    ReadPhysicalLine(stream, physical, kTextLineSize - 1);
    // Like fgets followed by a walk over a C string: an embedded NUL ends the line's text.
    for (const char* p = physical; *p != '\0'; ++p) {
      char c = *p;
      if (c == '\t' || c == '\n') continue;
      if (c == ' ' && !inQuotes) continue;
      if (c == '/' && !inQuotes) break;  // comment to the end of the line
      if (c == '"') {
        inQuotes = !inQuotes;
        continue;
      }
      if (!inQuotes) {
        if (c == ',') c = kValueSeparator;
        else if (c == ';') c = kStatementSeparator;
        else if (c == '=') c = kKeySeparator;
      }
      buffer[out++] = c;
    }
    buffer[out] = '\0';
    if (out > 0 || StreamEnded(stream)) return out;
  }
}

void ReadSection(FILE* stream, TextSection& section) {
  // The sections being read, innermost last. A section past the child limit is read into a
  // detached holder and dropped afterwards.
  struct Level {
    TextSection* section;
  };
  std::vector<Level> open{{&section}};
  std::vector<std::unique_ptr<TextSection>> dropped;
  char line[kTextLineSize];
  const std::string_view statementSeparator(&kStatementSeparator, 1);

  while (!open.empty() && !StreamEnded(stream)) {
    TextSection& current = *open.back().section;
    const size_t length = ReadLogicalLine(stream, line);
    const std::string raw(line, length);
    std::string working = raw;
    LowerAscii(working);
    if (working == "[end]") {
      open.pop_back();
      continue;
    }
    std::string rawStatement, statement;
    size_t pos = 0;
    while (pos < working.size()) {
      const size_t stop = NextField(working, pos, statement, statementSeparator);
      NextField(raw, pos, rawStatement, statementSeparator);
      pos = stop + 1;
      if (statement.empty()) continue;
      if (statement[0] == '[') {
        // The child reads the following lines up to its own "[end]"; the rest of this line is
        // ignored.
        std::unique_ptr<TextSection> child = MakeChild(statement);
        TextSection* childPtr = child.get();
        if (current.ChildCount() < kMaxChildCount) {
          current.children.push_back(std::move(child));
        } else {
          dropped.push_back(std::move(child));
        }
        open.push_back({childPtr});
        break;
      }
      if (current.RecordCount() < kMaxRecordCount) {
        current.records.push_back(MakeRecord(rawStatement, statement));
      }
    }
  }
}

TextSection ReadTextFile(const std::string& path) {
  TextSection root;
  FILE* stream = OpenDataFile(path, "rb");
  if (!stream) return root;
  ReadSection(stream, root);
  std::fclose(stream);
  return root;
}

namespace {

// The index of the first ";"-separated schema entry that the predicate accepts, or -1.
template <typename Accepts>
int FirstSchemaEntry(std::string_view schema, Accepts accepts) {
  int index = 0;
  size_t pos = 0;
  std::string entry;
  while (pos < schema.size()) {
    pos = NextField(schema, pos, entry, ";") + 1;
    if (accepts(entry)) return index;
    ++index;
  }
  return -1;
}

}  // namespace

int RecordKind(const TextSection& section, int recordIndex, std::string_view schema) {
  if (recordIndex < 0 || recordIndex >= section.RecordCount()) return -1;
  const TextRecord& record = section.records[static_cast<size_t>(recordIndex)];
  return FirstSchemaEntry(schema, [&record](const std::string& entry) {
    // "name", or "name:N" for a record with exactly N values.
    const size_t colon = entry.find(':');
    return std::string_view(entry).substr(0, colon) == record.key &&
           (colon == std::string::npos ||
            std::atoi(entry.c_str() + colon + 1) == record.ValueCount());
  });
}

int SectionKind(const TextSection& section, int childIndex, std::string_view schema) {
  if (childIndex < 0 || childIndex >= section.ChildCount()) return -1;
  const std::string& name = section.children[static_cast<size_t>(childIndex)]->name;
  return FirstSchemaEntry(schema, [&name](const std::string& entry) { return entry == name; });
}

int32_t ParseTextInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '0') {
    if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2]) < 16) {
      base = 16;
      i += 2;
    } else {
      base = 8;
    }
  }
  // Accumulate the magnitude, saturating far above the 32-bit range.
  uint64_t magnitude = 0;
  for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
    magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(DigitValue(text[i]));
    if (magnitude > (uint64_t{1} << 40)) magnitude = uint64_t{1} << 40;
  }
  if (negative) {
    if (magnitude >= (uint64_t{1} << 31)) return std::numeric_limits<int32_t>::min();
    return -static_cast<int32_t>(magnitude);
  }
  if (magnitude > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(magnitude);
}

float ParseTextReal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0f;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  const std::string number(text.substr(start, i - start));
  return static_cast<float>(std::strtod(number.c_str(), nullptr));
}

}  // namespace tessaline
