// The vocabulary compiler: from a word list and a key map to the bytes of a vocabulary file.
//
// Which words are kept:
//  - a listed word is folded to lower case (the keypad's case key gives capitals), then split at
//    apostrophes and hyphens: each part counts as a word of its own with the listed count (the
//    punctuation key types the joiner between two words, so "c'est" is typed as "c", "'", "est");
//  - a part is kept when the key map encodes every character of it and every letter lies on a key
//    that is not a punctuation key (so it can be typed in word mode), and when it has at most 31
//    letters; a part that folding made unencodable is tried once more as written;
//  - parts with the same letter codes are one word; their counts add up;
//  - the dictionaries of the language (plain extra lists, and form lists of word families) add
//    their words; an entry the dictionary writes as an abbreviation or symbol (IsAbbreviation:
//    "TD", "Gd") is not a word and is left out;
//  - when the language has a dictionary, a listed word that none of them knows is kept only when
//    it is frequent enough to be a word of speech: at least kRareUnknownPerMillion occurrences per
//    million of the list's words (subtitle lists carry "hf", "gd", and other tokens of no
//    language that rarely occur; "ok", "yeah", names and contractions are known or frequent);
//  - a word the list lacks (ranked lemmas count as listed) is left out when it has two to
//    BuildOptions::shortUnlistedLength letters: the word search puts every word of the typed
//    length before longer ones, so a rare dictionary word of few letters hides the common longer
//    words its keys begin from the visible candidates ("wea" took the place of "yeah") far more
//    often than it is typed itself;
//  - so is a listed word of two to kShortRareLetters letters that occurs fewer than
//    BuildOptions::shortRarePerMillion times per million of the list's words (ranked lemmas
//    aside), for the same reason: English "ads" and "axe", typed once in a while, hid "best"
//    and "awful" after three keys; a word among the first BuildOptions::shortRareLemmaPlaces
//    ranked lemmas stays (German's "Zug" and "Bus", rare in subtitles, common in speech);
//  - single letters are kept whatever their count (none of the rules above takes them), and
//    every letter key has one: a key none of whose letters is a word of the list or the
//    dictionaries gets those of its main letters that words use as words of frequency 0
//    (BuildOptions::lettersForEveryKey). After the first key the word search offers only words
//    of one letter, and an empty list starts spelling at once, so Ukrainian's "що" and "щоб"
//    (key 8: ш, щ, ь) were spelled every time;
//  - the words are taken most wanted first until the limits (single letters before all others):
//    by their count or estimate (below), twice that for a word of a family with a word of the
//    main list (kListedFamilyWeight; a ranked lemma's family is not counted twice); then listed
//    words before others; shorter words first. A family's forms are estimated from its count,
//    so the common forms of a frequent lemma come before the words of rare ones, while its forms
//    of endings the language hardly uses (Polish "-cież", Spanish verbs with two pronouns
//    attached) give way to the common words of unlisted families. With --max N the first N are
//    kept; then, should the front-coded pool come near 2^20 bytes (the reach of an entry's
//    20-bit offset), the least wanted are left out until it stays 64 KiB below that, which
//    leaves room for the user's own words;
//  - then the words that keep more wanted longer words out of the visible candidates go
//    (BuildOptions::hidingWeight): after the n keys of a word of n letters, the word search
//    shows the words of that length before any longer word, so each visible one holds a place
//    that a longer word beginning with the same keys would take (English's "tie" kept "they"
//    out after t-h-e). For every key sequence that words have, the compiler weighs keeping only
//    its k best words of that length (k = 0, 1 or 2, fewer than it has) and leaving out the
//    others: that gains, for each longer word that comes up into a visible place, its count
//    times the keys sooner it is offered (than at the first key sequence at which it was
//    visible, at most its own length); it costs, for each word left out, its count times the
//    taps of spelling it (one for the spelling entry and each letter's multi-taps) less the
//    next-candidate taps it took (three entries on each; none after the seventh). The k of the
//    greatest gain beyond hidingWeight times the cost is taken; when none gains more, all
//    stay. The counts are those the frequencies come from, and the search's order is that of
//    the frequencies the kept words have. The words next in line take the room of those left
//    out, and a second pass weighs them too;
//  - ranked lemmas (BuildOptions::rankedLemmas: dictionary words in the order of another
//    measure, such as the counts of their English translations): each one that the list lacks
//    and whose families have no listed word counts as listed, ranked after the list's last word
//    in the lemmas' order (BuildOptions::lemmaSpacing ranks apart), so that its count and its
//    family's estimates come from that rank.
//
// Frequencies (0 to 127): every kept word has a count, listed or estimated, and a count c gets
//     1 + round(126 * ln(c / cmin) / ln(cmax / cmin))
// where cmin and cmax are the lowest and highest counts among the kept words (127 for all of them
// when these are equal). A ranked list gives rank r the count 10^9 / r first. A word its list
// lacks gets an estimate:
//  - when a family it belongs to has a listed word that begins with the same letters as it
//    (BuildOptions::familyPrefixLetters of them): kFamilyShare of its family count (the highest
//    count of those listed words) times its ending weight (at most the family count). The ending
//    weight says how much of a family's count the forms with that ending carry against the
//    average form, learnt from the families with a listed word (a listed form carries its count
//    / the highest listed count of its family, an unlisted one 0), so that the forms a language
//    uses often ("-ů", "-en") come before its rare ones;
//  - otherwise its ending estimate: the lowest listed count times the share of the dictionary's
//    words with its ending that the list holds, counting the words that the dictionaries write
//    only with a capital first (German nouns, names) apart from the others; a word whose
//    ending too few words share takes the share of all the words of its case;
//  - and when it belongs to a family without a listed word, the geometric mean of that and the
//    family's best ending estimate times kFamilyShare times its ending weight (at most that
//    best), so that a family's common forms come before its rare ones there too.
// Listed words keep their counts, so their order among themselves stays as listed. Only a word
// that no estimate reaches gets 0.
//
// The letter-pair table: for every word and every position i >= 1, the letters at i and i + 1
// are a pair and the letter at i + 2 follows it (the word search guesses letters only once its
// current word has three letters, so a pair never starts at position 0). Each occurrence weighs
// the word's frequency + 1. All pairs with the same pair key (PairKey) share one record; it holds
// the four following letters of highest weight (ties: lower code first), each with the weight
// 127 * (its weight) / (weight of all letters following that key), rounded down. Records are
// sorted by key.
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
// The letters a form shares with the listed words its family count comes from (see below).
constexpr size_t kFamilyPrefixLetters = 2;
// The length up to which rare listed words are left out (see above).
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
  // The weight of a listed family's words in the pool's order (see above); 1: their counts and
  // estimates alone.
  double listedFamilyWeight = kListedFamilyWeight;
  // Estimate the forms of families without a listed word from the family too (see above); off,
  // they have their ending estimate alone.
  bool spreadUnlistedFamilies = true;
  // A letter key none of whose letters is a word gets those of its main letters that words use
  // as words (see above);
  // "tessaline voc build" always asks for it.
  bool lettersForEveryKey = false;
  // Words the list lacks of two to this many letters are left out (see above); 0 keeps them all.
  size_t shortUnlistedLength = 0;
  // Listed words of two to kShortRareLetters letters rarer than this per million of the list's
  // words are left out (see above); 0 keeps them all.
  double shortRarePerMillion = 0;
  // A short rare word among the first this many ranked lemmas stays (0: none does).
  uint64_t shortRareLemmaPlaces = 0;
  // The words that keep longer ones out of the visible candidates go when the taps this would
  // save exceed this many times the taps of spelling them (see above); 0 keeps them all.
  double hidingWeight = 0;
  // A form's family count comes from the listed words of its family that begin with the same
  // this many letters (0: from the whole family). A dictionary's family holds the words its
  // prefixes make ("dislikeable" beside "like"), far rarer than the words they are made from.
  size_t familyPrefixLetters = kFamilyPrefixLetters;
  // Weigh family estimates by their endings (see above); off, every form has the weight 1.
  bool endingWeights = true;
  // Count the endings of capitalised words apart (see above); off, case makes no difference.
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

// A word's letter codes, if the key map can type it in word mode (see above).
bool EncodeTypable(const KeyMap& map, WideView word, LetterCodes& codes);

CompiledVocabulary CompileVocabulary(const KeyMap& map, const WordList& list,
                                     const BuildOptions& options, BuildReport& report);

// The letter-pair table for sorted entries.
std::vector<PairRecord> BuildPairTable(const std::vector<VocEntry>& entries);

// The vocabulary file: N, the packed entries, P, the pool, B, the letter-pair records.
std::string VocabularyFileBytes(const CompiledVocabulary& vocabulary);

}  // namespace tessaline::vocbuild
