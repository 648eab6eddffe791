#include "vocbuild/VocCompiler.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <unordered_map>

#include "engine/WordSearch.h"
#include "system/ByteCoding.h"

namespace tessaline::vocbuild {
namespace {

struct Candidate {
  LetterCodes word;
  uint64_t count = 0;  // listed count (merged parts added up)
  bool inMainList = false;
  bool known = false;        // a word of one of the language's dictionaries
  bool dropped = false;      // listed, unknown and too rare
  uint64_t familyCount = 0;  // highest listed count in the families it belongs to
  bool ranked = false;       // a ranked lemma taken as listed
  uint64_t lemmaPlace = 0;   // its place among the ranked lemmas (1 the first), 0 when none
  // In a family with a word of the main list (ranked lemmas aside): its place in the pool's
  // order weighs BuildOptions::listedFamilyWeight times its count or estimate.
  bool mainFamily = false;
  double value = 0;     // the count its frequency comes from: listed, or estimated
  bool spread = false;  // estimated within a family that has no listed word
  // How the dictionaries write it (the ranked lists are mostly in lower case, so theirs says
  // little): a word they write only with a capital first (a German noun, a name) is of another
  // kind than the words written in lower case, and so are its endings.
  bool writtenLower = false;
  bool writtenCapital = false;
  bool Capitalised() const { return writtenCapital && !writtenLower; }
};

// Ends the ending key of a capitalised word; letter codes stay far below it.
constexpr char kCapitalisedMark = '\xFF';

bool CodesBefore(const LetterCodes& a, const LetterCodes& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

// Letter codes that lie on a key without punctuation, i.e. that word mode can type.
std::vector<bool> TypableCodes(const KeyMap& map) {
  std::vector<bool> typable(256, false);
  for (const KeyEntry& key : map.Keys()) {
    if (map.FindKey(key.key) != &key || map.KeyHasPunctuation(key.key)) continue;
    for (int i = 0; i < key.count; ++i) typable[key.codes[i]] = true;
  }
  return typable;
}

bool EncodeWith(const KeyMap& map, const std::vector<bool>& typable, WideView word,
                LetterCodes& codes) {
  if (word.empty() || !map.Encode(word, codes) || codes.empty()) return false;
  for (unsigned char code : codes) {
    if (!typable[code]) return false;
  }
  return true;
}

// The summed shares of their family's count that the forms with one ending carry (see below).
struct EndingShare {
  double sum = 0;
  uint32_t forms = 0;
  void Add(double share) {
    sum += share;
    ++forms;
  }
};

// How much more (above 1) or less (below 1) of its family's count a form with word's ending
// carries than the average form: the mean share of the forms with the longest ending that
// at least kMinEndingForms forms share, drawn towards the mean of all forms as if `prior` forms
// of average share were added, against the mean of all forms.
double EndingWeight(const std::unordered_map<std::string, EndingShare>& endings,
                    const EndingShare& all, const std::string& word, double prior) {
  if (all.forms == 0 || all.sum <= 0) return 1.0;
  const double mean = all.sum / all.forms;
  for (size_t n = std::min(kEndingLength, word.size()); n >= 1; --n) {
    const auto found = endings.find(word.substr(word.size() - n));
    if (found == endings.end() || found->second.forms < kMinEndingForms) continue;
    const double share = (found->second.sum + prior * mean) / (found->second.forms + prior);
    return share / mean;
  }
  return 1.0;
}

size_t PoolSize(const std::vector<const Candidate*>& sorted) {
  size_t size = 0;
  std::string_view previous;
  for (const Candidate* c : sorted) {
    size += StoredForm(previous, c->word).size();
    previous = c->word;
  }
  return size;
}

std::vector<const Candidate*> SortedByCodes(const std::vector<const Candidate*>& chosen, size_t n) {
  std::vector<const Candidate*> sorted(chosen.begin(),
                                       chosen.begin() + static_cast<std::ptrdiff_t>(n));
  std::sort(sorted.begin(), sorted.end(),
            [](const Candidate* a, const Candidate* b) { return CodesBefore(a->word, b->word); });
  return sorted;
}

// The lowest and highest count or estimate above 0 of the words: the ends of the frequency
// scale (both 0 when none has one).
std::pair<double, double> ValueRange(const std::vector<const Candidate*>& words) {
  double minValue = 0, maxValue = 0;
  for (const Candidate* c : words) {
    if (c->value <= 0) continue;
    minValue = minValue == 0 ? c->value : std::min(minValue, c->value);
    maxValue = std::max(maxValue, c->value);
  }
  return {minValue, maxValue};
}

// Where a letter lies on the telephone keys 2 to 9: the key (0: on none of them) and its place
// there (multi-tap takes place + 1 taps).
struct KeypadLetter {
  uint8_t key = 0;
  uint8_t place = 0;
};

// The words of `sorted` (in code order) whose place among the visible candidates is worth
// spellWeight times less than the longer words they keep out of it
// (docs/vocabulary-compiler.md), flagged by their index among the `total` candidates from `base`.
std::vector<bool> HidingWords(const KeyMap& map, const std::vector<const Candidate*>& sorted,
                              const Candidate* base, size_t total, double spellWeight) {
  constexpr size_t kVisible = 3;  // the candidates the list shows without a next-candidate tap
  std::vector<KeypadLetter> letters(256);
  for (const KeyEntry& key : map.Keys()) {
    if (map.FindKey(key.key) != &key || key.key < 2 || key.key > 9) continue;
    for (int i = 0; i < key.count; ++i)
      letters[key.codes[i]] = {key.key, static_cast<uint8_t>(i)};
  }
  // The frequencies the file will give (the search ranks by these), and the key sequences.
  const auto [minValue, maxValue] = ValueRange(sorted);
  const size_t n = sorted.size();
  std::vector<uint8_t> frequency(n, 0);
  std::vector<std::string> keys(n);
  std::vector<uint32_t> order;  // the words typed on keys 2 to 9 by key sequence, then code
  order.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const Candidate& c = *sorted[i];
    if (c.value > 0) frequency[i] = ScaleFrequency(c.value, minValue, maxValue);
    bool typed = true;
    for (unsigned char code : c.word) {
      typed = typed && letters[code].key != 0;
      keys[i].push_back(static_cast<char>(letters[code].key));
    }
    if (typed) order.push_back(static_cast<uint32_t>(i));
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  // The search's order among words of one score: frequency, then code order.
  auto better = [&](uint32_t a, uint32_t b) {
    return frequency[a] != frequency[b] ? frequency[a] > frequency[b] : a < b;
  };

  // Every key sequence that words have exactly, with those words best first and the best longer
  // words that begin with it; and the fewest keys after which each word is visible.
  struct Sequence {
    size_t length;
    std::vector<uint32_t> exact, longer;
  };
  std::vector<Sequence> sequences;
  std::vector<size_t> firstVisible(n, SIZE_MAX);
  // Visits the words order[lo, hi), which share their first `depth` keys; returns the best
  // kVisible of them by frequency (the best of a sequence's longer words are among its
  // children's best).
  std::function<std::vector<uint32_t>(size_t, size_t, size_t)> visit = [&](size_t lo, size_t hi,
                                                                           size_t depth) {
    size_t e = lo;
    while (e < hi && keys[order[e]].size() == depth) ++e;
    std::vector<uint32_t> exact(order.begin() + static_cast<std::ptrdiff_t>(lo),
                                order.begin() + static_cast<std::ptrdiff_t>(e));
    std::sort(exact.begin(), exact.end(), better);
    std::vector<uint32_t> longer;
    for (size_t child = e; child < hi;) {
      size_t end = child;
      while (end < hi && keys[order[end]][depth] == keys[order[child]][depth]) ++end;
      const std::vector<uint32_t> best = visit(child, end, depth + 1);
      longer.insert(longer.end(), best.begin(), best.end());
      child = end;
    }
    std::sort(longer.begin(), longer.end(), better);
    if (longer.size() > kVisible) longer.resize(kVisible);
    // Words of the typed length first (their bonus of 127 puts them ahead); after one key only
    // words of one letter are offered.
    for (size_t i = 0; i < kVisible && depth >= 1; ++i) {
      if (i < exact.size())
        firstVisible[exact[i]] = std::min(firstVisible[exact[i]], depth);
      else if (depth >= 2 && i - exact.size() < longer.size())
        firstVisible[longer[i - exact.size()]] =
            std::min(firstVisible[longer[i - exact.size()]], depth);
    }
    if (depth >= 2 && !exact.empty()) sequences.push_back({depth, exact, longer});
    std::vector<uint32_t> best = std::move(exact);
    best.insert(best.end(), longer.begin(), longer.end());
    std::sort(best.begin(), best.end(), better);
    if (best.size() > kVisible) best.resize(kVisible);
    return best;
  };
  if (!order.empty()) visit(0, order.size(), 0);

  // At each sequence: the words of its length come first, and longer words take the visible
  // places they leave. Keeping its k best words (k below 3 and below their number) and leaving
  // out the others gains, for each longer word that then comes up, its count times the keys
  // sooner it is offered; it costs, for each word left out, its count times the taps of
  // spelling it (one for the spelling entry and each letter's multi-taps) less the
  // next-candidate taps it took (3 entries on each; none is offered after the 7th). The best
  // k whose gain exceeds spellWeight times its cost is taken; without one, all stay.
  std::vector<bool> hiding(total, false);
  for (const Sequence& s : sequences) {
    // What leaving out each offered word costs; cost[i]: all of them from the i-th on.
    const size_t offered = std::min(s.exact.size(), WordSearch::kMaxCandidates);
    std::vector<double> cost(offered + 1, 0.0);
    for (size_t i = offered; i-- > 0;) {
      double spelled = 1;
      for (unsigned char code : sorted[s.exact[i]]->word) spelled += letters[code].place + 1;
      cost[i] = cost[i + 1] +
                sorted[s.exact[i]]->value * (spelled - static_cast<double>(i / kVisible));
    }
    size_t kept = s.exact.size();
    double best = 0;
    for (size_t k = 0; k < std::min(s.exact.size(), kVisible); ++k) {
      double gain = 0;
      for (size_t j = 0; j + k < kVisible && j < s.longer.size(); ++j) {
        const uint32_t word = s.longer[j];
        const size_t before = std::min(firstVisible[word], keys[word].size());
        if (before > s.length)
          gain += sorted[word]->value * static_cast<double>(before - s.length);
      }
      if (gain - spellWeight * cost[k] > best) {
        best = gain - spellWeight * cost[k];
        kept = k;
      }
    }
    for (size_t i = kept; i < s.exact.size(); ++i)
      hiding[static_cast<size_t>(sorted[s.exact[i]] - base)] = true;
  }
  return hiding;
}

}  // namespace

uint16_t PairKey(uint8_t a, uint8_t b) {
  const int32_t high = static_cast<int8_t>(a);
  const int32_t low = static_cast<int8_t>(b);
  return static_cast<uint16_t>(static_cast<uint32_t>(high * 256 | low) & 0xFFFF);
}

std::string StoredForm(std::string_view previous, std::string_view word) {
  size_t p = 0;
  while (p < previous.size() && p < word.size() && previous[p] == word[p]) ++p;
  if (p >= 2) {
    std::string form(1, static_cast<char>(2 * p + 1));
    form.append(word.substr(p));
    return form;
  }
  std::string form(word);
  if (!form.empty()) {
    const auto first = static_cast<unsigned char>(form[0]);
    form[0] = static_cast<char>((first & 0xF0) | ((first & 7) * 2));
  }
  return form;
}

uint8_t ScaleFrequency(double count, double minCount, double maxCount) {
  if (maxCount <= minCount || count >= maxCount) return 127;
  if (count <= minCount) return 1;
  const double share = std::log(count / minCount) / std::log(maxCount / minCount);
  const long value = 1 + std::lround(126.0 * share);
  return static_cast<uint8_t>(std::clamp<long>(value, 1, 127));
}

bool EncodeTypable(const KeyMap& map, WideView word, LetterCodes& codes) {
  return EncodeWith(map, TypableCodes(map), word, codes);
}

namespace {

// The compiler's phases, in the order CompileVocabulary runs them; each reads what the ones before
// it left in the candidates (docs/vocabulary-compiler.md says what each rule is for).
class VocabularyBuilder {
 public:
  VocabularyBuilder(const KeyMap& map, const WordList& list, const BuildOptions& options,
                    BuildReport& report)
      : map_(map), list_(list), options_(options), report_(report), typable_(TypableCodes(map)) {
    report_ = BuildReport{};
  }

  // The words of the main list, the plain dictionaries and the families, split and merged.
  void ReadLists();
  // Ranked lemmas the main list lacks continue its ranks.
  void RankLemmas();
  // Listed words no dictionary knows, and too rare to be words of speech, are dropped.
  void DropRareUnknownWords();
  // Every letter key gets a word of one letter.
  void AddKeyLetters();
  // Family counts, and how the listed families spread their counts over their forms by ending.
  void CountFamilies();
  // The count every word's frequency comes from: listed, or estimated from family or ending.
  void EstimateCounts();
  // The forms of families without a listed word, estimated from the family's best form.
  void SpreadUnlistedFamilies();
  // The words that may be kept (short-word rules), most wanted first.
  void OrderByWant();
  // The most wanted words within --max and the pool's reach, in code order.
  void FitLimits();
  // Words that keep longer ones out of the visible candidates go; the next in line take their room.
  void LeaveOutHidingWords();
  // The entries with their frequencies, the letter-pair table, and the report's tallies.
  CompiledVocabulary Write() const;

 private:
  const std::vector<size_t>& Take(WideView text, uint64_t count, bool mainList);
  double WeightOf(const std::string& word, double prior) const {
    return options_.endingWeights ? EndingWeight(familyEndings_, allForms_, word, prior) : 1.0;
  }
  // Capitalised words count their endings apart from the others: German nouns in "-tem"
  // ("System") are listed far more often than the adjective forms that share their ending
  // ("beeinträchtigtem"), and a language's names less often than its common words.
  std::string EndingKey(const Candidate& c, size_t n) const {
    std::string key = c.word.substr(c.word.size() - n);
    if (options_.capitalisedEndings && c.Capitalised()) key.push_back(kCapitalisedMark);
    return key;
  }
  size_t IndexOf(const Candidate* c) const { return static_cast<size_t>(c - candidates_.data()); }

  const KeyMap& map_;
  const WordList& list_;
  const BuildOptions& options_;
  BuildReport& report_;
  const std::vector<bool> typable_;
  std::vector<Candidate> candidates_;
  std::unordered_map<std::string, size_t> index_;  // letter codes to candidate
  std::vector<size_t> parts_;                      // what Take returns
  // The families of each form list as candidate indices, each once.
  std::vector<std::vector<std::vector<uint32_t>>> families_;
  bool haveDictionary_ = false;
  double listTotal_ = 0;  // the main list's counts added up
  std::unordered_map<std::string, EndingShare> familyEndings_;
  EndingShare allForms_;
  std::vector<const Candidate*> chosen_;  // most wanted first
  std::vector<const Candidate*> sorted_;  // the kept words in code order
};

// Adds the parts of a word; returns the candidates they are, in order.
const std::vector<size_t>& VocabularyBuilder::Take(WideView text, uint64_t count, bool mainList) {
  parts_.clear();
  const WideString folded = FoldCase(text);
  const std::vector<WideString> pieces = SplitAtJoiners(folded);
  const std::vector<WideString> written = SplitAtJoiners(text);
  for (size_t i = 0; i < pieces.size(); ++i) {
    ++report_.parts;
    // A dictionary's "Gd's" is the symbol Gd and an s: the part is judged as written.
    if (!mainList && i < written.size() && IsAbbreviation(written[i])) {
      ++report_.abbreviations;
      continue;
    }
    LetterCodes codes;
    if (!EncodeWith(map_, typable_, pieces[i], codes) &&
        !(i < written.size() && EncodeWith(map_, typable_, written[i], codes))) {
      ++report_.unencodable;
      if (report_.unencodableSamples.size() < 10)
        report_.unencodableSamples.push_back(WideToUtf8(pieces[i]));
      continue;
    }
    if (codes.size() > kMaxWordLength) {
      ++report_.tooLong;
      continue;
    }
    const bool capital =
        i < written.size() && !written[i].empty() && LowerLetter(written[i][0]) != written[i][0];
    auto found = index_.find(codes);
    if (found != index_.end()) {
      Candidate& c = candidates_[found->second];
      parts_.push_back(found->second);
      if (!mainList) {
        c.known = true;
        (capital ? c.writtenCapital : c.writtenLower) = true;
        continue;
      }
      ++report_.merged;
      c.count = (c.count > UINT64_MAX - count) ? UINT64_MAX : c.count + count;
      c.inMainList = true;
      continue;
    }
    index_.emplace(codes, candidates_.size());
    parts_.push_back(candidates_.size());
    Candidate c;
    c.word = std::move(codes);
    c.count = mainList ? count : 0;
    c.inMainList = mainList;
    c.known = !mainList;
    if (!mainList) (capital ? c.writtenCapital : c.writtenLower) = true;
    candidates_.push_back(std::move(c));
  }
  return parts_;
}

void VocabularyBuilder::ReadLists() {
  report_.listedWords = list_.words.size();
  for (const SourceWord& word : list_.words) {
    Take(word.text, word.count, true);
    listTotal_ += static_cast<double>(word.count);
  }
  for (const WordList* extra : options_.extraLists) {
    if (!extra) continue;
    haveDictionary_ = haveDictionary_ || !extra->words.empty();
    for (const SourceWord& word : extra->words) Take(word.text, 0, false);
  }
  families_.resize(options_.formLists.size());
  for (size_t l = 0; l < options_.formLists.size(); ++l) {
    if (!options_.formLists[l]) continue;
    families_[l].resize(options_.formLists[l]->families.size());
    for (size_t f = 0; f < options_.formLists[l]->families.size(); ++f) {
      std::vector<uint32_t>& members = families_[l][f];
      for (const WideString& form : options_.formLists[l]->families[f]) {
        haveDictionary_ = true;
        for (size_t i : Take(form, 0, false)) members.push_back(static_cast<uint32_t>(i));
      }
      std::sort(members.begin(), members.end());
      members.erase(std::unique(members.begin(), members.end()), members.end());
    }
  }
}

// The dictionary words the main list lacks, of families it has no word of, continue its ranks in
// their list's order (the main list is a few thousand words long, and tells nothing of the lemmas
// behind it).
void VocabularyBuilder::RankLemmas() {
  if (!options_.rankedLemmas) return;
  std::vector<bool> listedFamily(candidates_.size(), false);
  for (const auto& lists : families_) {
    for (const std::vector<uint32_t>& members : lists) {
      const bool listed = std::any_of(members.begin(), members.end(),
                                      [&](uint32_t i) { return candidates_[i].inMainList; });
      if (!listed) continue;
      for (uint32_t i : members) listedFamily[i] = true;
    }
  }
  uint64_t rank = list_.words.size();
  const uint64_t spacing = std::max<uint64_t>(1, options_.lemmaSpacing);
  uint64_t place = 0;
  for (const SourceWord& lemma : options_.rankedLemmas->words) {
    ++place;
    LetterCodes codes;
    if (!EncodeWith(map_, typable_, FoldCase(lemma.text), codes)) continue;
    const auto found = index_.find(codes);
    if (found == index_.end()) continue;
    Candidate& c = candidates_[found->second];
    if (c.lemmaPlace == 0) c.lemmaPlace = place;
    if (c.inMainList || !c.known || listedFamily[found->second]) continue;
    c.inMainList = true;
    c.ranked = true;
    rank = rank > UINT64_MAX - spacing ? UINT64_MAX : rank + spacing;
    c.count = std::max<uint64_t>(1, kRankScale / rank);
    ++report_.rankedLemmas;
  }
}

void VocabularyBuilder::DropRareUnknownWords() {
  if (!haveDictionary_) return;
  const double threshold = listTotal_ * options_.rareUnknownPerMillion / 1e6;
  for (Candidate& c : candidates_) {
    if (c.inMainList && !c.known && c.word.size() > 1 &&
        static_cast<double>(c.count) < threshold) {
      c.dropped = true;
      ++report_.rareUnknown;
    }
  }
}

// A letter key without a word of one letter (none is dropped before) gets those of its main
// letters that words use as words.
void VocabularyBuilder::AddKeyLetters() {
  if (!options_.lettersForEveryKey) return;
  std::vector<bool> letter(256, false), single(256, false);
  for (const Candidate& c : candidates_) {
    for (unsigned char code : c.word) letter[code] = true;
    if (c.word.size() == 1) single[static_cast<unsigned char>(c.word[0])] = true;
  }
  for (const KeyEntry& key : map_.Keys()) {
    if (map_.FindKey(key.key) != &key || map_.KeyHasPunctuation(key.key)) continue;
    bool hasLetter = false, hasWord = false;
    for (int i = 0; i < key.count; ++i) {
      hasLetter = hasLetter || letter[key.codes[i]];
      hasWord = hasWord || single[key.codes[i]];
    }
    if (!hasLetter || hasWord) continue;
    for (int i = 0; i < key.base; ++i) {
      if (!letter[key.codes[i]] || single[key.codes[i]]) continue;
      single[key.codes[i]] = true;
      Candidate c;
      c.word = LetterCodes(1, static_cast<char>(key.codes[i]));
      candidates_.push_back(std::move(c));
      ++report_.keyLetters;
    }
  }
}

// Family counts (the highest count of a listed word in the family, 0 when it has none), and how a
// family's count spreads over its forms, by ending: for every run of up to kEndingLength last
// letters, the summed share (listed count / family count; 0 for an unlisted form) of the forms
// with that ending in families that have a listed word, and how many forms that is.
void VocabularyBuilder::CountFamilies() {
  for (const auto& lists : families_) {
    for (const std::vector<uint32_t>& members : lists) {
      uint64_t best = 0;
      bool main = false;
      for (uint32_t i : members) {
        const Candidate& c = candidates_[i];
        if (!c.inMainList || c.dropped) continue;
        best = std::max(best, c.count);
        main = main || !c.ranked;
      }
      if (best == 0) continue;
      // A form's family count: the best listed count among the family's words that begin with
      // the same letters, so a prefixed word takes its count from its own kind.
      const size_t prefix = options_.familyPrefixLetters;
      auto familyCountOf = [&](const Candidate& form) {
        if (prefix == 0) return best;
        uint64_t own = 0;
        for (uint32_t j : members) {
          const Candidate& m = candidates_[j];
          if (m.inMainList && !m.dropped && m.word.compare(0, prefix, form.word, 0, prefix) == 0)
            own = std::max(own, m.count);
        }
        return own;
      };
      for (uint32_t i : members) {
        Candidate& c = candidates_[i];
        c.familyCount = std::max(c.familyCount, familyCountOf(c));
        c.mainFamily = c.mainFamily || main;
        if (c.dropped) continue;
        const double share =
            c.inMainList ? static_cast<double>(c.count) / static_cast<double>(best) : 0.0;
        allForms_.Add(share);
        for (size_t n = 1; n <= kEndingLength && n <= c.word.size(); ++n) {
          familyEndings_[c.word.substr(c.word.size() - n)].Add(share);
        }
      }
    }
  }
}

void VocabularyBuilder::EstimateCounts() {
  // Endings: how many dictionary words, and how many of them listed, end in each run of up to
  // kEndingLength letters.
  uint64_t minListed = UINT64_MAX;
  std::unordered_map<std::string, std::pair<uint32_t, uint32_t>> endings;
  // A word whose ending too few dictionary words share takes the share of all the words of its
  // case (the empty ending) rather than none: without an estimate it would come last and be the
  // first left out of a full pool, as German's "Menü" and French's words in "-ù" were.
  const size_t shortestEnding = options_.rareEndingEstimates ? 0 : 1;
  for (const Candidate& c : candidates_) {
    if (c.inMainList && !c.dropped) minListed = std::min(minListed, c.count);
    if (!c.known) continue;
    for (size_t n = shortestEnding; n <= kEndingLength && n <= c.word.size(); ++n) {
      auto& [words, listed] = endings[EndingKey(c, n)];
      ++words;
      listed += c.inMainList ? 1 : 0;
    }
  }
  for (Candidate& c : candidates_) {
    if (c.dropped) continue;
    if (c.inMainList) {
      c.value = static_cast<double>(c.count);
      continue;
    }
    if (c.familyCount > 0) {
      const double weight = WeightOf(c.word, options_.endingPrior);
      c.value = std::min(options_.familyShare * weight * static_cast<double>(c.familyCount),
                         static_cast<double>(c.familyCount));
      continue;
    }
    if (minListed == UINT64_MAX) continue;
    for (size_t n = std::min(kEndingLength, c.word.size()) + 1; n-- > shortestEnding;) {
      const auto found = endings.find(EndingKey(c, n));
      if (found == endings.end() || (n > 0 && found->second.first < kMinEndingWords)) continue;
      c.value = static_cast<double>(minListed) * (static_cast<double>(found->second.second) + 0.5) /
                (static_cast<double>(found->second.first) + 1.0);
      break;
    }
  }
}

// The family's best ending estimate, spread over its forms by their endings as the listed families
// spread their counts; a form gets the geometric mean of that and its own ending estimate (each
// alone measured worse, on Czech and on Russian).
void VocabularyBuilder::SpreadUnlistedFamilies() {
  std::vector<double> spread(candidates_.size(), 0.0);
  for (const auto& lists : families_) {
    for (const std::vector<uint32_t>& members : lists) {
      double best = 0;
      for (uint32_t i : members) {
        if (candidates_[i].familyCount > 0) {
          best = 0;
          break;
        }
        best = std::max(best, candidates_[i].value);
      }
      if (best <= 0 || !options_.spreadUnlistedFamilies) continue;
      for (uint32_t i : members) {
        const double weight = WeightOf(candidates_[i].word, options_.endingPrior);
        spread[i] = std::max(spread[i], std::min(best, options_.familyShare * weight * best));
      }
    }
  }
  for (size_t i = 0; i < candidates_.size(); ++i) {
    Candidate& c = candidates_[i];
    if (c.dropped || c.inMainList || c.familyCount > 0 || spread[i] <= 0) continue;
    c.value = c.value > 0 ? std::sqrt(c.value * spread[i]) : spread[i];
    c.spread = true;
  }
}

// Most wanted first (docs/vocabulary-compiler.md); ties by letter codes.
void VocabularyBuilder::OrderByWant() {
  chosen_.reserve(candidates_.size());
  const double shortRareCount = listTotal_ * options_.shortRarePerMillion / 1e6;
  for (const Candidate& c : candidates_) {
    if (c.dropped) continue;
    if (c.word.size() > 1) {  // single letters always stay
      if (c.inMainList && !c.ranked && c.word.size() <= kShortRareLetters &&
          static_cast<double>(c.count) < shortRareCount &&
          !(c.lemmaPlace != 0 && c.lemmaPlace <= options_.shortRareLemmaPlaces)) {
        ++report_.shortRare;
        continue;
      }
      if (!c.inMainList && c.word.size() <= options_.shortUnlistedLength) {
        ++report_.shortUnlisted;
        continue;
      }
    }
    chosen_.push_back(&c);
  }
  const double familyWeight = options_.listedFamilyWeight;
  auto wanted = [familyWeight](const Candidate* c) {
    return c->mainFamily ? familyWeight * c->value : c->value;
  };
  std::sort(chosen_.begin(), chosen_.end(), [&](const Candidate* a, const Candidate* b) {
    if ((a->word.size() == 1) != (b->word.size() == 1)) return a->word.size() == 1;
    const double wantedA = wanted(a), wantedB = wanted(b);
    if (wantedA != wantedB) return wantedA > wantedB;
    if (a->value != b->value) return a->value > b->value;
    if (a->inMainList != b->inMainList) return a->inMainList;
    if (a->word.size() != b->word.size()) return a->word.size() < b->word.size();
    return CodesBefore(a->word, b->word);
  });
}

void VocabularyBuilder::FitLimits() {
  size_t keep = chosen_.size();
  report_.cutByLimit = 0;
  if (options_.maxWords != 0 && keep > options_.maxWords) {
    report_.cutByLimit = keep - options_.maxWords;
    keep = options_.maxWords;
  }
  sorted_ = SortedByCodes(chosen_, keep);
  report_.cutByPool = 0;
  if (PoolSize(sorted_) <= kPoolLimit) return;
  // The largest number of most wanted words whose pool stays within the limit. The words stay
  // in code order; a trial count n keeps those among the n most wanted.
  std::vector<uint32_t> rank(candidates_.size(), 0);
  for (size_t i = 0; i < keep; ++i)
    rank[IndexOf(chosen_[i])] = static_cast<uint32_t>(i);
  auto poolWith = [&](size_t n) {
    size_t size = 0;
    std::string_view previous;
    for (const Candidate* c : sorted_) {
      if (rank[IndexOf(c)] >= n) continue;
      size_t p = 0;
      while (p < previous.size() && p < c->word.size() && previous[p] == c->word[p]) ++p;
      size += p >= 2 ? c->word.size() - p + 1 : c->word.size();
      previous = c->word;
    }
    return size;
  };
  size_t lo = 0, hi = keep;  // lo fits, hi does not
  while (lo + 1 < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (poolWith(mid) <= kPoolLimit)
      lo = mid;
    else
      hi = mid;
  }
  report_.cutByPool = keep - lo;
  sorted_ = SortedByCodes(chosen_, lo);
}

// Those left out make room for the next in line, which may hide others in turn: hence a second
// pass.
void VocabularyBuilder::LeaveOutHidingWords() {
  for (int pass = 0; pass < 2 && options_.hidingWeight > 0; ++pass) {
    const std::vector<bool> hiding =
        HidingWords(map_, sorted_, candidates_.data(), candidates_.size(), options_.hidingWeight);
    const size_t before = chosen_.size();
    chosen_.erase(std::remove_if(chosen_.begin(), chosen_.end(),
                                 [&](const Candidate* c) { return hiding[IndexOf(c)]; }),
                  chosen_.end());
    if (chosen_.size() == before) break;
    report_.hidingWords += before - chosen_.size();
    FitLimits();
  }
}

CompiledVocabulary VocabularyBuilder::Write() const {
  const auto [minValue, maxValue] = ValueRange(sorted_);
  CompiledVocabulary vocabulary;
  vocabulary.entries.reserve(sorted_.size());
  std::vector<bool> kept(candidates_.size(), false);
  for (const Candidate* c : sorted_) {
    const uint8_t frequency = c->value > 0 ? ScaleFrequency(c->value, minValue, maxValue) : 0;
    if (!c->inMainList) {
      ++report_.extraWords;
      if (c->familyCount > 0)
        ++report_.familyEstimates;
      else if (c->spread)
        ++report_.unlistedFamilyEstimates;
      else if (c->value > 0)
        ++report_.endingEstimates;
    }
    kept[IndexOf(c)] = true;
    vocabulary.entries.push_back({c->word, frequency});
  }
  report_.keptFamilies.resize(families_.size());
  for (size_t l = 0; l < families_.size(); ++l) {
    for (size_t f = 0; f < families_[l].size(); ++f) {
      for (uint32_t i : families_[l][f]) {
        if (!kept[i]) continue;
        report_.keptFamilies[l].push_back(f);
        break;
      }
    }
  }
  report_.poolBytes = PoolSize(sorted_);
  vocabulary.pairs = BuildPairTable(vocabulary.entries);
  return vocabulary;
}

}  // namespace

CompiledVocabulary CompileVocabulary(const KeyMap& map, const WordList& list,
                                     const BuildOptions& options, BuildReport& report) {
  VocabularyBuilder builder(map, list, options, report);
  builder.ReadLists();
  builder.RankLemmas();
  builder.DropRareUnknownWords();
  builder.AddKeyLetters();
  builder.CountFamilies();
  builder.EstimateCounts();
  builder.SpreadUnlistedFamilies();
  builder.OrderByWant();
  builder.FitLimits();
  builder.LeaveOutHidingWords();
  return builder.Write();
}

std::vector<PairRecord> BuildPairTable(const std::vector<VocEntry>& entries) {
  std::map<uint16_t, std::map<uint8_t, uint64_t>> followers;
  for (const VocEntry& entry : entries) {
    const std::string& w = entry.word;
    const uint64_t weight = static_cast<uint64_t>(entry.frequency) + 1;
    for (size_t i = 1; i + 2 < w.size(); ++i) {
      const uint16_t key = PairKey(static_cast<uint8_t>(w[i]), static_cast<uint8_t>(w[i + 1]));
      followers[key][static_cast<uint8_t>(w[i + 2])] += weight;
    }
  }
  std::vector<PairRecord> records;
  records.reserve(followers.size());
  for (const auto& [key, next] : followers) {
    std::vector<std::pair<uint8_t, uint64_t>> ranked(next.begin(), next.end());
    uint64_t total = 0;
    for (const auto& [code, weight] : ranked) total += weight;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    PairRecord record;
    record.key = key;
    for (size_t i = 0; i < ranked.size() && i < 4; ++i) {
      record.next[i] = ranked[i].first;
      record.weight[i] = static_cast<int8_t>(127 * ranked[i].second / total);
      ++record.count;
    }
    records.push_back(record);
  }
  return records;
}

std::string VocabularyFileBytes(const CompiledVocabulary& vocabulary) {
  std::string pool;
  std::string out;
  AppendLe32(out, static_cast<uint32_t>(vocabulary.entries.size()));
  std::string_view previous;
  for (const VocEntry& entry : vocabulary.entries) {
    const uint32_t packed = static_cast<uint32_t>(pool.size() & 0xFFFFF) |
                            (static_cast<uint32_t>(entry.frequency & 0x7F) << 20) |
                            (static_cast<uint32_t>(entry.word.size() & 0x1F) << 27);
    AppendLe32(out, packed);
    pool += StoredForm(previous, entry.word);
    previous = entry.word;
  }
  AppendLe32(out, static_cast<uint32_t>(pool.size()));
  out += pool;
  AppendLe32(out, static_cast<uint32_t>(vocabulary.pairs.size()));
  for (const PairRecord& record : vocabulary.pairs) {
    AppendLe16(out, record.key);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(record.next[i]));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(record.weight[i]));
    out.push_back(static_cast<char>(record.count));
    out.push_back(0);
  }
  return out;
}

}  // namespace tessaline::vocbuild
