#include "evaluation/MissReport.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "vocbuild/WordList.h"

namespace tessaline::evaluation {

MissReport FindMisses(WideView text, const KeyMap& map, Predictor& predictor) {
  std::unordered_map<char16_t, int> keyOf;
  for (int key = 2; key <= 9; ++key) {
    for (char16_t letter : map.KeyLetters(key)) keyOf.emplace(letter, key);
  }
  std::unordered_map<WideString, size_t> counts;
  std::vector<WideString> order;  // first occurrence first, so ties keep the text's order
  for (size_t i = 0; i < text.size();) {
    if (!keyOf.count(vocbuild::LowerLetter(text[i]))) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < text.size() && keyOf.count(vocbuild::LowerLetter(text[j]))) ++j;
    const WideString word = vocbuild::FoldCase(text.substr(i, j - i));
    if (counts[word]++ == 0) order.push_back(word);
    i = j;
  }

  MissReport report;
  for (const WideString& word : order) {
    WordOutcome outcome;
    outcome.word = word;
    outcome.count = counts[word];
    predictor.Reset();
    for (char16_t letter : word) predictor.PressKey(keyOf.at(letter));
    const std::vector<WideString> list = predictor.Candidates();
    const auto found = std::find(list.begin(), list.end(), word);
    if (found != list.end()) outcome.rank = static_cast<int>(found - list.begin());
    if (outcome.rank != 0 && !list.empty()) outcome.first = list.front();
    report.words += outcome.count;
    report.missing += outcome.rank < 0 ? outcome.count : 0;
    report.late += outcome.rank >= kVisibleCandidates ? outcome.count : 0;
    report.notFirst += outcome.rank > 0 ? outcome.count : 0;
    report.outcomes.push_back(std::move(outcome));
  }
  std::stable_sort(report.outcomes.begin(), report.outcomes.end(),
                   [](const WordOutcome& a, const WordOutcome& b) { return a.count > b.count; });
  return report;
}

std::string DescribeMisses(const MissReport& report, size_t top) {
  auto percent = [&](size_t n) {
    return report.words ? 100.0 * double(n) / double(report.words) : 0.0;
  };
  std::string out;
  char line[512];
  std::snprintf(line, sizeof line,
                "  of %zu words: %zu (%.1f%%) not offered, %zu (%.1f%%) below the visible entries, "
                "%zu (%.1f%%) offered but not first\n",
                report.words, report.missing, percent(report.missing), report.late,
                percent(report.late), report.notFirst, percent(report.notFirst));
  out += line;
  out += "  not offered (occurrences, word, first candidate for its keys):\n";
  size_t shown = 0;
  for (const WordOutcome& o : report.outcomes) {
    if (o.rank >= 0 || shown == top) continue;
    ++shown;
    std::snprintf(line, sizeof line, "    %5zu  %s  (%s)\n", o.count, WideToUtf8(o.word).c_str(),
                  o.first.empty() ? "-" : WideToUtf8(o.first).c_str());
    out += line;
  }
  out += "  below the visible entries (occurrences, word, its place, first candidate):\n";
  shown = 0;
  for (const WordOutcome& o : report.outcomes) {
    if (o.rank < kVisibleCandidates || shown == top) continue;
    ++shown;
    std::snprintf(line, sizeof line, "    %5zu  %s  %d  %s\n", o.count, WideToUtf8(o.word).c_str(),
                  o.rank + 1, WideToUtf8(o.first).c_str());
    out += line;
  }
  return out;
}

}  // namespace tessaline::evaluation
