// The vocabulary compiler: from a word list, the language's dictionaries and its key map to the
// bytes of a vocabulary file.
//
// CompileVocabulary keeps the words the key map can type in word mode (folded to lower case, split
// at apostrophes and hyphens, at most 31 letters), gives each a count (listed, or estimated from
// its family or its ending) and a frequency 0 to 127 from it, takes the most wanted within
// BuildOptions::maxWords and the pool's reach (kPoolLimit), and returns them sorted by their
// letter codes with the letter-pair table. The same inputs always give the same bytes. Which
// words are kept, how counts are estimated and the phases that do it are written in
// docs/vocabulary-compiler.md.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "languages/KeyMap.h"
#include "vocbuild/WordList.h"

namespace tessaline::vocbuild {

constexpr size_t kMaxWordLength = 31;
constexpr size_t kPoolReach = size_t{1} << 20;
// Room left in the pool for the words the user adds on the device (the engine inserts them into
// the same pool and refuses them once it would reach 2^20 bytes): 64 KiB, some 8,000 words.
constexpr size_t kUserWordReserve = size_t{1} << 16;
constexpr size_t kPoolLimit = kPoolReach - kUserWordReserve;

struct VocEntry {
  LetterCodes word;
  uint8_t frequency = 0;
};

struct PairRecord {
  uint16_t key = 0;
  uint8_t next[4] = {};
  int8_t weight[4] = {};
  int8_t count = 0;
};

struct CompiledVocabulary {
  std::vector<VocEntry> entries;  // sorted byte-wise by their letter codes
  std::vector<PairRecord> pairs;  // sorted by key, one record per key
};

// Occurrences per million of a list's words below which a word that no dictionary knows is left
// out (SUBTLEX English: 49.7 million words, so fewer than 50 occurrences).
constexpr double kRareUnknownPerMillion = 1.0;
// The share of its family count that a form the list lacks is estimated at.
constexpr double kFamilyShare = 0.2;
// How much more a word of a family with a word of the main list (ranked lemmas aside) is wanted
// in the pool than its count or estimate alone says.
constexpr double kListedFamilyWeight = 2.0;
// The letters a form shares with the listed words its family count comes from.
constexpr size_t kFamilyPrefixLetters = 2;
// The length up to which rare listed words are left out.
constexpr size_t kShortRareLetters = 3;
// Endings used for the estimate of words without a listed family: the longest of up to three
// letters that at least this many dictionary words share.
constexpr size_t kEndingLength = 3;
constexpr uint32_t kMinEndingWords = 50;
// The ending weight of a form: the longest ending of up to kEndingLength letters that at least
// kMinEndingForms forms of families with a listed word share, its mean share drawn towards the
// mean of all forms as if kEndingPrior forms of average share were added.
constexpr uint32_t kMinEndingForms = 50;
constexpr double kEndingPrior = 20;

// The rules these options tune are described in docs/vocabulary-compiler.md.
struct BuildOptions {
  size_t maxWords = 0;                       // 0: no limit
  std::vector<const WordList*> extraLists;   // dictionaries as plain lists
  std::vector<const FamilyList*> formLists;  // dictionaries as word families
  // Dictionary words in the order of another measure of how common they are, most common first
  // (one word a line): each that the main list lacks and that belongs to no family with a
  // listed word is taken as listed, ranked after the main list's words in this order.
  const WordList* rankedLemmas = nullptr;
  // The ranks between two ranked lemmas taken: the i-th takes the rank (main list's words) +
  // lemmaSpacing * i. A lemma of an inflected language stands for several of its forms in a
  // ranked list of words, so the lemmas ranked after the list lie further apart than one rank.
  size_t lemmaSpacing = 1;
  double rareUnknownPerMillion = kRareUnknownPerMillion;
  double familyShare = kFamilyShare;
  double endingPrior = kEndingPrior;
  // The weight of a listed family's words in the pool's order; 1: their counts and
  // estimates alone.
  double listedFamilyWeight = kListedFamilyWeight;
  // Estimate the forms of families without a listed word from the family too; off,
  // they have their ending estimate alone.
  bool spreadUnlistedFamilies = true;
  // A letter key none of whose letters is a word gets those of its main letters that words use
  // as words;
  // "tessaline voc build" always asks for it.
  bool lettersForEveryKey = false;
  // Words the list lacks of two to this many letters are left out; 0 keeps them all.
  size_t shortUnlistedLength = 0;
  // Listed words of two to kShortRareLetters letters rarer than this per million of the list's
  // words are left out; 0 keeps them all.
  double shortRarePerMillion = 0;
  // A short rare word among the first this many ranked lemmas stays (0: none does).
  uint64_t shortRareLemmaPlaces = 0;
  // The words that keep longer ones out of the visible candidates go when the taps this would
  // save exceed this many times the taps of spelling them; 0 keeps them all.
  double hidingWeight = 0;
  // A form's family count comes from the listed words of its family that begin with the same
  // this many letters (0: from the whole family). A dictionary's family holds the words its
  // prefixes make ("dislikeable" beside "like"), far rarer than the words they are made from.
  size_t familyPrefixLetters = kFamilyPrefixLetters;
  // Weigh family estimates by their endings; off, every form has the weight 1.
  bool endingWeights = true;
  // Count the endings of capitalised words apart; off, case makes no difference.
  bool capitalisedEndings = true;
  // A word whose ending fewer than kMinEndingWords dictionary words share gets the share of all
  // the words of its case; off, it gets no estimate.
  bool rareEndingEstimates = true;
};

struct BuildReport {
  size_t listedWords = 0;              // words of the main list
  size_t parts = 0;                    // after splitting at apostrophes and hyphens, all lists
  size_t unencodable = 0;              // parts the key map cannot encode or type
  size_t tooLong = 0;                  // parts of more than 31 letters
  size_t merged = 0;                   // parts that added their count to an earlier equal word
  size_t cutByLimit = 0;               // words left out for --max
  size_t cutByPool = 0;                // words left out for the pool's reach
  size_t extraWords = 0;               // kept words that came only from dictionaries
  size_t abbreviations = 0;            // dictionary entries left out as abbreviations or symbols
  size_t rareUnknown = 0;              // listed words no dictionary knows, left out as too rare
  size_t shortUnlisted = 0;            // words the list lacks, left out as too short
  size_t shortRare = 0;                // listed words left out as short and rare
  size_t hidingWords = 0;              // words left out for the longer ones they hid
  size_t keyLetters = 0;               // letters added as words for keys that had none
  size_t rankedLemmas = 0;             // words of the ranked lemmas taken as listed
  size_t familyEstimates = 0;          // kept unlisted words estimated from their family
  size_t endingEstimates = 0;          // kept unlisted words estimated from their ending
  size_t unlistedFamilyEstimates = 0;  // kept words of families without a listed word
  size_t poolBytes = 0;
  // For each form list, the lines (families) of which at least one word was kept, ascending.
  std::vector<std::vector<size_t>> keptFamilies;
  std::vector<std::string> unencodableSamples;  // the first few, UTF-8
};

// The pair key the word search forms from the last two letters a and b: (a * 256) | b with both
// taken as signed bytes, kept to 16 bits; when b is 0x80 or above its sign fills the high byte,
// so the key is then 0xFF00 | b whatever a is.
uint16_t PairKey(uint8_t a, uint8_t b);

// The stored form of word after previous: a marker 2p + 1 and the codes from p on when the two
// share p >= 2 leading codes, else the word whole with the low bits of its first code doubled.
std::string StoredForm(std::string_view previous, std::string_view word);

// Frequency of a count on the scale above.
uint8_t ScaleFrequency(double count, double minCount, double maxCount);

// A word's letter codes, if the key map can type it in word mode.
bool EncodeTypable(const KeyMap& map, WideView word, LetterCodes& codes);

CompiledVocabulary CompileVocabulary(const KeyMap& map, const WordList& list,
                                     const BuildOptions& options, BuildReport& report);

// The letter-pair table for sorted entries.
std::vector<PairRecord> BuildPairTable(const std::vector<VocEntry>& entries);

// The vocabulary file: N, the packed entries, P, the pool, B, the letter-pair records.
std::string VocabularyFileBytes(const CompiledVocabulary& vocabulary);

}  // namespace tessaline::vocbuild
