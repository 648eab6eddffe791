#include "vocbuild/WordList.h"

namespace tessaline::vocbuild {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\r' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

bool ParseCount(std::string_view s, uint64_t& count) {
  if (s.empty() || s.size() > 19) return false;
  uint64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  count = value;
  return true;
}

}  // namespace

WordList ReadWordList(std::string_view bytes) {
  WordList list;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  bool decided = false;
  uint64_t rank = 0;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (Trim(line).empty()) continue;
    if (!decided) {
      list.counted = line.find('\t') != std::string_view::npos;
      decided = true;
    }
    SourceWord word;
    if (list.counted) {
      const size_t tab = line.find('\t');
      uint64_t count = 0;
      if (tab == std::string_view::npos || !ParseCount(Trim(line.substr(tab + 1)), count) ||
          Trim(line.substr(0, tab)).empty()) {
        ++list.malformedLines;
        continue;
      }
      word.text = Utf8ToWide(Trim(line.substr(0, tab)));
      word.count = count;
    } else {
      ++rank;
      word.text = Utf8ToWide(Trim(line));
      word.count = kRankScale / rank;
    }
    list.words.push_back(std::move(word));
  }
  return list;
}

FamilyList ReadFamilyList(std::string_view bytes) {
  FamilyList list;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    std::vector<WideString> family;
    size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
      size_t j = i;
      while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r') ++j;
      if (j > i) family.push_back(Utf8ToWide(line.substr(i, j - i)));
      i = j;
    }
    if (!family.empty()) list.families.push_back(std::move(family));
  }
  return list;
}

char16_t LowerLetter(char16_t ch) {
  if (ch >= u'A' && ch <= u'Z') return static_cast<char16_t>(ch + 32);
  if (ch < 0xC0) return ch;
  if (ch <= 0xDE) return ch == 0xD7 ? ch : static_cast<char16_t>(ch + 32);  // Latin-1, not ×
  if (ch >= 0x100 && ch <= 0x137) {
    if (ch == 0x130) return u'i';  // İ
    return (ch & 1) ? ch : static_cast<char16_t>(ch + 1);
  }
  if (ch >= 0x139 && ch <= 0x148) return (ch & 1) ? static_cast<char16_t>(ch + 1) : ch;
  if (ch >= 0x14A && ch <= 0x177) return (ch & 1) ? ch : static_cast<char16_t>(ch + 1);
  if (ch == 0x178) return 0xFF;
  if (ch >= 0x179 && ch <= 0x17E) return (ch & 1) ? static_cast<char16_t>(ch + 1) : ch;
  if (ch >= 0x391 && ch <= 0x3AB && ch != 0x3A2) return static_cast<char16_t>(ch + 32);  // Greek
  if (ch >= 0x400 && ch <= 0x40F) return static_cast<char16_t>(ch + 80);                 // Ѐ-Џ
  if (ch >= 0x410 && ch <= 0x42F) return static_cast<char16_t>(ch + 32);                 // А-Я
  if (ch >= 0x460 && ch <= 0x4BF)
    return (ch & 1) ? ch : static_cast<char16_t>(ch + 1);  // Ґ and others
  return ch;
}

WideString FoldCase(WideView text) {
  WideString out(text);
  for (char16_t& ch : out) ch = LowerLetter(ch);
  return out;
}

bool IsAbbreviation(WideView form) {
  size_t upper = 0;
  bool innerCapital = false;
  for (size_t i = 0; i < form.size(); ++i) {
    if (LowerLetter(form[i]) == form[i]) continue;
    ++upper;
    innerCapital = innerCapital || i > 0;
  }
  if (upper == 0 || form.size() == 1) return false;
  return innerCapital || form.size() == 2;
}

bool IsJoiner(char16_t ch) {
  return ch == u'\'' || ch == 0x2019 || ch == 0x02BC || ch == u'-' || ch == 0x2010 || ch == 0x2011;
}

std::vector<WideString> SplitAtJoiners(WideView text) {
  std::vector<WideString> parts;
  WideString part;
  for (char16_t ch : text) {
    if (IsJoiner(ch)) {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part.push_back(ch);
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

}  // namespace tessaline::vocbuild
