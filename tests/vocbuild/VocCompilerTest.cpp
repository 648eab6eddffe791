// The vocabulary compiler: which words it keeps, their frequencies, order and stored forms, the
// letter-pair table and the exact bytes of the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "VocTestLanguage.h"
#include "vocbuild/VocCheck.h"
#include "vocbuild/VocCompiler.h"

namespace tessaline::vocbuild {
namespace {

using test::TestKeyMap;

std::string Codes(std::initializer_list<int> codes) {
  std::string s;
  for (int c : codes) s.push_back(static_cast<char>(c));
  return s;
}

CompiledVocabulary Compile(const std::string& list, BuildReport& report,
                           const BuildOptions& options = {}) {
  const KeyMap map = TestKeyMap();
  const WordList words = ReadWordList(list);
  return CompileVocabulary(map, words, options, report);
}

// The frequency the vocabulary gives the word, or -1 when it does not hold it.
int FrequencyIn(const CompiledVocabulary& vocabulary, const std::string& word) {
  LetterCodes codes;
  EXPECT_TRUE(EncodeTypable(TestKeyMap(), Utf8ToWide(word), codes));
  for (const VocEntry& e : vocabulary.entries) {
    if (e.word == codes) return static_cast<int>(e.frequency);
  }
  return -1;
}

// 60 dictionary words end in "ing" ("aaxing" to "hbxing"), the first 6 of them listed with
// counts 100 to 600, and 60 in "ly", none listed.
void AddIngAndLyWords(std::string& list, std::string& dictionary) {
  for (int i = 0; i < 60; ++i) {
    const std::string stem = {static_cast<char>('a' + i % 26), static_cast<char>('a' + i / 26),
                              'x'};
    dictionary += stem + "ing\n" + stem + "ly\n";
    if (i < 6) list += stem + "ing\t" + std::to_string(100 * (i + 1)) + "\n";
  }
}

TEST(VocCompilerTest, StoredFormsAreTheFrontCoding) {
  // Shares two codes: marker 5, then the rest.
  EXPECT_EQ(StoredForm(Codes({0x12, 0x31, 0x55}), Codes({0x12, 0x31, 0x56, 0x21})),
            Codes({5, 0x56, 0x21}));
  // Shares one code only: stored whole, first code's low bits doubled (0x23 -> 0x26).
  EXPECT_EQ(StoredForm(Codes({0x23, 0x10}), Codes({0x23, 0x11})), Codes({0x26, 0x11}));
  // The first entry is always whole; position 7 doubles to 14 and stays in its high nibble.
  EXPECT_EQ(StoredForm("", Codes({0x17, 0x20})), Codes({0x1E, 0x20}));
  EXPECT_EQ(StoredForm("", Codes({0x80})), Codes({0x80}));
  // Thirty shared codes give the largest marker, 61.
  const std::string thirty(30, '\x10');
  EXPECT_EQ(StoredForm(thirty + "\x11", thirty + "\x12"), Codes({61, 0x12}));
}

TEST(VocCompilerTest, PairKeysAreFormedAsTheWordSearchFormsThem) {
  EXPECT_EQ(PairKey(0x12, 0x34), 0x1234);
  EXPECT_EQ(PairKey(0x12, 0x85), 0xFF85);  // the sign of b fills the high byte
  EXPECT_EQ(PairKey(0x7F, 0x80), 0xFF80);
  EXPECT_EQ(PairKey(0x85, 0x12), 0x8512);  // a's sign falls outside the 16 bits
  EXPECT_EQ(PairKey(0xF0, 0xF1), 0xFFF1);
}

TEST(VocCompilerTest, FrequencyScaleIsLogarithmicBetweenTheExtremes) {
  EXPECT_EQ(ScaleFrequency(1000, 10, 1000), 127);
  EXPECT_EQ(ScaleFrequency(10, 10, 1000), 1);
  EXPECT_EQ(ScaleFrequency(100, 10, 1000), 64);  // the geometric middle
  EXPECT_EQ(ScaleFrequency(5, 5, 5), 127);       // one count for every word
  uint8_t last = 0;
  for (uint64_t c = 10; c <= 1000; c += 7) {
    const uint8_t f = ScaleFrequency(c, 10, 1000);
    EXPECT_GE(f, last);
    last = f;
  }
}

TEST(VocCompilerTest, KeepsTypableWordsFoldedSplitAndMerged) {
  BuildReport report;
  const CompiledVocabulary v =
      Compile("The\t5\nthe\t3\nc'est\t4\nEST\t1\nx#y\t9\n.\t9\n\xC3\x84\t2\n", report);
  ASSERT_EQ(v.entries.size(), 4u);
  // Byte order of the codes: c (0x12), est (0x14 ..), the (0x33 ..), ä (0x80).
  EXPECT_EQ(v.entries[0].word, Codes({0x12}));
  EXPECT_EQ(v.entries[1].word, Codes({0x14, 0x32, 0x33}));
  EXPECT_EQ(v.entries[2].word, Codes({0x33, 0x17, 0x14}));
  EXPECT_EQ(v.entries[3].word, Codes({0x80}));
  // Counts: c 4, est 4 + 1, the 5 + 3, ä 2; scale from 2 to 8.
  EXPECT_EQ(v.entries[0].frequency, 64);
  EXPECT_EQ(v.entries[1].frequency, 84);
  EXPECT_EQ(v.entries[2].frequency, 127);
  EXPECT_EQ(v.entries[3].frequency, 1);
  EXPECT_EQ(report.listedWords, 7u);
  EXPECT_EQ(report.parts, 8u);
  EXPECT_EQ(report.merged, 2u);
  EXPECT_EQ(report.unencodable, 2u);  // '#' lies on no key; '.' only on the punctuation key
  ASSERT_EQ(report.unencodableSamples.size(), 2u);
  EXPECT_EQ(report.unencodableSamples[0], "x#y");
}

TEST(VocCompilerTest, ThirtyOneLettersAtMost) {
  BuildReport report;
  const std::string w31(31, 'a'), w32(32, 'b');
  const CompiledVocabulary v = Compile(w31 + "\t3\n" + w32 + "\t5\nab\t1\n", report);
  ASSERT_EQ(v.entries.size(), 2u);
  EXPECT_EQ(v.entries[0].word.size(), 31u);
  EXPECT_EQ(report.tooLong, 1u);
}

TEST(VocCompilerTest, LimitKeepsTheMostFrequentAndExtraWordsComeLast) {
  BuildReport report;
  BuildOptions options;
  options.maxWords = 2;
  const CompiledVocabulary limited = Compile("ab\t1\ncd\t9\nef\t5\ngh\t5\n", report, options);
  ASSERT_EQ(limited.entries.size(), 2u);
  EXPECT_EQ(limited.entries[0].word, Codes({0x12, 0x13}));  // cd
  EXPECT_EQ(limited.entries[1].word, Codes({0x14, 0x15}));  // ef wins the tie with gh by its codes
  EXPECT_EQ(report.cutByLimit, 2u);

  // "QQ" is an abbreviation, not a word; zz has no ending that fifty dictionary words share, so
  // it takes the share of all of them, below every listed word.
  const WordList extra = ReadWordList("cd\nzz\nQQ\n");
  BuildOptions widen;
  widen.extraLists.push_back(&extra);
  const CompiledVocabulary widened = Compile("ab\t1\ncd\t9\n", report, widen);
  ASSERT_EQ(widened.entries.size(), 3u);
  EXPECT_EQ(report.extraWords, 1u);
  EXPECT_EQ(report.abbreviations, 1u);
  EXPECT_EQ(widened.entries[1].frequency, 127);  // cd keeps its own frequency
  EXPECT_EQ(widened.entries[2].word, Codes({0x41, 0x41}));
  EXPECT_EQ(widened.entries[2].frequency, 1);

  // Under a limit, extra words are kept shortest first.
  const WordList longer = ReadWordList("abcdef\nzz\nghi\n");
  BuildOptions limited2;
  limited2.extraLists.push_back(&longer);
  limited2.maxWords = 3;
  const CompiledVocabulary cut = Compile("cd\t9\n", report, limited2);
  ASSERT_EQ(cut.entries.size(), 3u);
  EXPECT_EQ(cut.entries[1].word, Codes({0x16, 0x17, 0x20}));  // ghi
  EXPECT_EQ(cut.entries[2].word, Codes({0x41, 0x41}));        // zz; abcdef is left out
}

TEST(VocCompilerTest, RareTokensThatNoDictionaryKnowsAreLeftOut) {
  // Two million listed words: fewer than two occurrences make an unknown token too rare.
  const std::string list = "the\t1999990\nok\t5\nhf\t1\ngd\t1\nbee\t1\nbees\t1\nxy\t1\nab\t1\n";
  const WordList extra = ReadWordList("the\nok\nGd's\n");  // the symbol Gd, not the word "gd"
  const FamilyList forms = ReadFamilyList("bee bees\nAB\n");
  BuildOptions options;
  options.extraLists.push_back(&extra);
  options.formLists.push_back(&forms);
  BuildReport report;
  const CompiledVocabulary v = Compile(list, report, options);
  std::vector<std::string> kept;
  for (const VocEntry& e : v.entries) kept.push_back(e.word);
  // Kept: bee, bees (known), ok (known), s (the other part of "Gd's"), the. Left out: ab, gd,
  // hf, xy.
  EXPECT_EQ(kept, (std::vector<std::string>{Codes({0x11, 0x14, 0x14}),
                                            Codes({0x11, 0x14, 0x14, 0x32}), Codes({0x26, 0x22}),
                                            Codes({0x32}), Codes({0x33, 0x17, 0x14})}));
  EXPECT_EQ(report.rareUnknown, 4u);
  EXPECT_EQ(report.abbreviations, 2u);

  // Frequent enough, an unknown token stays; and without any dictionary the rule does not apply.
  options.rareUnknownPerMillion = 0.4;
  EXPECT_EQ(Compile(list, report, options).entries.size(), 9u);
  EXPECT_EQ(Compile(list, report).entries.size(), 8u);
  EXPECT_EQ(report.rareUnknown, 0u);
}

TEST(VocCompilerTest, FormsOfFrequentLemmasComeFirstWithEstimatedFrequencies) {
  // "work" is frequent: its unlisted forms come before the listed but rare "rare" and its family,
  // at a share of work's count; "works" is listed and keeps its own, lower count.
  const FamilyList forms =
      ReadFamilyList("work works worked working\nrare rarer rarest\nzebra zebras\n");
  BuildOptions options;
  options.formLists.push_back(&forms);
  options.familyShare = 0.2;
  options.maxWords = 6;
  BuildReport report;
  const CompiledVocabulary v = Compile("work\t1000\nrare\t10\nworks\t20\n", report, options);
  std::map<std::string, int> frequency;
  for (const VocEntry& e : v.entries) {
    std::string text;
    for (char c : e.word)
      text.push_back(static_cast<char>('a' + (static_cast<unsigned char>(c) >> 4) * 8 - 8 +
                                       (static_cast<unsigned char>(c) & 15)));
    frequency[text] = e.frequency;
  }
  ASSERT_EQ(frequency.size(), 6u);  // rarest and the zebra family are left out
  EXPECT_EQ(frequency.count("rarer"), 1u);
  EXPECT_EQ(frequency["work"], 127);
  // The scale runs from rarer's estimate, 0.2 * 10 = 2, to 1000; worked and working are
  // estimated at 0.2 * 1000 = 200, above the listed "works".
  EXPECT_EQ(frequency["rarer"], 1);
  EXPECT_EQ(frequency["rare"], ScaleFrequency(10, 2, 1000));
  EXPECT_EQ(frequency["worked"], ScaleFrequency(200, 2, 1000));
  EXPECT_EQ(frequency["working"], frequency["worked"]);
  EXPECT_EQ(frequency["works"], ScaleFrequency(20, 2, 1000));
  EXPECT_GT(frequency["worked"], frequency["works"]);
  EXPECT_EQ(report.familyEstimates, 3u);
  // The families of which a word was kept.
  ASSERT_EQ(report.keptFamilies.size(), 1u);
  EXPECT_EQ(report.keptFamilies[0], (std::vector<size_t>{0, 1}));
}

// The word families of the ranked-lemma tests.
constexpr const char* kLemmaFamilies =
    "work works worked working\nrare rarer rarest\nzebra zebras\nbicycle bicycles bicycling\n";

BuildOptions WithLemmas(const FamilyList& forms, const WordList& lemmas) {
  BuildOptions options;
  options.formLists.push_back(&forms);
  options.rankedLemmas = &lemmas;
  return options;
}

TEST(VocCompilerTest, RankedLemmasContinueTheListForFamiliesItLacks) {
  // The ranked list knows work, rare and works; the lemma list ranks bicycle before zebra after
  // them. "works" is listed already, "rarer" belongs to a listed family and "qqq" to no
  // dictionary: those three keep what they had.
  const FamilyList forms = ReadFamilyList(kLemmaFamilies);
  const WordList lemmas = ReadWordList("works\nbicycle\nrarer\nqqq\nzebra\n");
  BuildOptions options = WithLemmas(forms, lemmas);
  BuildReport report;
  const CompiledVocabulary v = Compile("work\nrare\nworks\n", report, options);
  EXPECT_EQ(report.rankedLemmas, 2u);
  EXPECT_EQ(FrequencyIn(v, "qqq"), -1);
  EXPECT_GT(FrequencyIn(v, "works"), FrequencyIn(v, "bicycle"));
  EXPECT_GT(FrequencyIn(v, "bicycle"), FrequencyIn(v, "zebra"));
  EXPECT_GT(FrequencyIn(v, "bicycle"), FrequencyIn(v, "bicycles"));
  EXPECT_GT(FrequencyIn(v, "zebras"), 0);
  // "rarer" is estimated from its family as before, not ranked.
  BuildReport plainReport;
  BuildOptions plain = options;
  plain.rankedLemmas = nullptr;
  const CompiledVocabulary without = Compile("work\nrare\nworks\n", plainReport, plain);
  EXPECT_EQ(FrequencyIn(v, "rarer"), FrequencyIn(without, "rarer"));
  // A full vocabulary takes the ranked lemmas before their families' other forms (zebra before
  // bicycles): their families do not come first as a listed word's do. Without the lemma list
  // the shorter zebra family would come before bicycle.
  options.maxWords = 9;
  const CompiledVocabulary cut = Compile("work\nrare\nworks\n", report, options);
  EXPECT_GT(FrequencyIn(cut, "bicycle"), 0);
  EXPECT_GT(FrequencyIn(cut, "zebra"), 0);
  EXPECT_EQ(FrequencyIn(cut, "bicycles"), -1);
  EXPECT_GT(FrequencyIn(cut, "rarest"), 0);
  plain.maxWords = 9;
  const CompiledVocabulary cutWithout = Compile("work\nrare\nworks\n", plainReport, plain);
  EXPECT_EQ(FrequencyIn(cutWithout, "bicycle"), -1);
  EXPECT_GT(FrequencyIn(cutWithout, "zebras"), 0);
}

TEST(VocCompilerTest, RankedLemmasTakeTheirRanksSpacedApart) {
  // Four ranks apart after the list's three words, bicycle and zebra are ranked 7th and 11th:
  // they and their families come out as if the list had counted them at those ranks.
  const FamilyList forms = ReadFamilyList(kLemmaFamilies);
  const WordList lemmas = ReadWordList("bicycle\nzebra\n");
  BuildOptions options = WithLemmas(forms, lemmas);
  options.lemmaSpacing = 4;
  BuildReport report;
  const std::string listed = "work\t1000000000\nrare\t500000000\nworks\t333333333\n";
  const CompiledVocabulary spaced = Compile(listed, report, options);
  BuildOptions plain = options;
  plain.rankedLemmas = nullptr;
  const CompiledVocabulary counted =
      Compile(listed + "bicycle\t142857142\nzebra\t90909090\n", report, plain);
  for (const char* word : {"bicycle", "bicycles", "zebra", "zebras", "works", "rarest"}) {
    SCOPED_TRACE(word);
    EXPECT_GT(FrequencyIn(spaced, word), 0);
    EXPECT_EQ(FrequencyIn(spaced, word), FrequencyIn(counted, word));
  }
  // One rank apart, as before, they come closer to the list's last word.
  options.lemmaSpacing = 1;
  const CompiledVocabulary close = Compile(listed, report, options);
  EXPECT_GT(FrequencyIn(close, "zebra"), FrequencyIn(spaced, "zebra"));
}

TEST(VocCompilerTest, PrefixedFormsTakeTheirFamilyCountFromTheirOwnKind) {
  // One family holds like and the words its prefixes make. Listed: like (often), dislike
  // (rarely). dislikeable is estimated from dislike, likeable from like, and unliked, whose
  // kind no listed word begins, from its ending alone; counted over the whole family, all three
  // would be estimated from like.
  const FamilyList forms =
      ReadFamilyList("like likes likeable dislike dislikes dislikeable unliked\n");
  BuildOptions options;
  options.formLists.push_back(&forms);
  const std::string list = "like\t100000\nbook\t50000\ndislike\t100\n";
  BuildReport report;
  const CompiledVocabulary v = Compile(list, report, options);
  EXPECT_EQ(report.familyEstimates, 4u);  // likes, likeable, dislikes, dislikeable
  EXPECT_GT(FrequencyIn(v, "likeable"), FrequencyIn(v, "dislike"));
  EXPECT_LT(FrequencyIn(v, "dislikeable"), FrequencyIn(v, "dislike"));

  options.familyPrefixLetters = 0;
  const CompiledVocabulary whole = Compile(list, report, options);
  EXPECT_EQ(report.familyEstimates, 5u);
  EXPECT_GT(FrequencyIn(whole, "dislikeable"), FrequencyIn(whole, "dislike"));
  EXPECT_GT(FrequencyIn(whole, "unliked"), FrequencyIn(v, "unliked"));
}

TEST(VocCompilerTest, ShortWordsTheListLacksOrRarelyHasAreLeftOut) {
  // Listed: go, at, work. The dictionaries add pig and goes, the family forms gos (of the listed
  // go, so estimated high), oxen and ox; the lemma list ranks ox as listed. Of up to 3 letters,
  // only the unlisted pig and gos are left out; ranked lemmas count as listed.
  const FamilyList forms = ReadFamilyList("go goes gos\nox oxen\nwork works\n");
  const WordList extra = ReadWordList("pig\ngoes\n");
  const WordList lemmas = ReadWordList("ox\n");
  BuildOptions options = WithLemmas(forms, lemmas);
  options.extraLists.push_back(&extra);
  const std::string list = "go\t500\nat\t300\nwork\t200\n";
  BuildReport report;
  const CompiledVocabulary all = Compile(list, report, options);
  EXPECT_EQ(report.shortUnlisted, 0u);
  EXPECT_GT(FrequencyIn(all, "gos"), 0);
  EXPECT_GE(FrequencyIn(all, "pig"), 0);

  options.shortUnlistedLength = 3;
  const CompiledVocabulary v = Compile(list, report, options);
  EXPECT_EQ(report.shortUnlisted, 2u);
  EXPECT_EQ(FrequencyIn(v, "pig"), -1);
  EXPECT_EQ(FrequencyIn(v, "gos"), -1);
  for (const char* kept : {"go", "at", "ox", "oxen", "goes", "work", "works"})
    EXPECT_GT(FrequencyIn(v, kept), 0) << kept;
  EXPECT_EQ(v.entries.size(), all.entries.size() - 2);

  // Listed words of up to 3 letters rarer than P per million go too: of 1,000,000 listed words,
  // at 10 per million, "at" (9) and "ant" (9) go; "go" (10) is just frequent enough, "ants" (9)
  // too long and the ranked lemma "ox" has no count of the list.
  const std::string counted = "go\t10\nat\t9\nant\t9\nants\t9\nwork\t999963\n";
  options.shortRarePerMillion = 10;
  const CompiledVocabulary rare = Compile(counted, report, options);
  EXPECT_EQ(report.shortRare, 2u);
  EXPECT_EQ(FrequencyIn(rare, "at"), -1);
  EXPECT_EQ(FrequencyIn(rare, "ant"), -1);
  for (const char* kept : {"go", "ants", "ox", "work"})
    EXPECT_GE(FrequencyIn(rare, kept), 1) << kept;

  // Unless among the first N ranked lemmas: "ant" is the third line of the lemmas (the second,
  // "bee", is in no list and counts all the same), so it stays at N = 3 and goes at N = 2;
  // "at" is no lemma and goes.
  const WordList ranked = ReadWordList("ox\nbee\nant\n");
  BuildOptions lemmaOptions = WithLemmas(forms, ranked);
  lemmaOptions.shortRarePerMillion = 10;
  lemmaOptions.shortRareLemmaPlaces = 3;
  const CompiledVocabulary kept = Compile(counted, report, lemmaOptions);
  EXPECT_EQ(report.shortRare, 1u);
  EXPECT_GE(FrequencyIn(kept, "ant"), 1);
  EXPECT_EQ(FrequencyIn(kept, "at"), -1);
  lemmaOptions.shortRareLemmaPlaces = 2;
  EXPECT_EQ(FrequencyIn(Compile(counted, report, lemmaOptions), "ant"), -1);
}

TEST(VocCompilerTest, EveryLetterKeyKeepsAWordOfOneLetter) {
  // Of 1,000,000 listed words "a" and "at" occur once: short and rare, but "a" is a letter and
  // stays. Key 2 (a b c) has it; keys 4, 5, 6, 7, 8 and 9 have no word of one letter and get
  // those of their letters that words use (g; k; o; r; t; w), at frequency 0; key 3 (d e f)
  // holds no letter of any word and gets none.
  const std::string list = "go\t500000\nwork\t499998\nat\t1\na\t1\n";
  BuildOptions options;
  options.shortRarePerMillion = 10;
  BuildReport report;
  const CompiledVocabulary plain = Compile(list, report, options);
  EXPECT_EQ(report.keyLetters, 0u);
  EXPECT_EQ(FrequencyIn(plain, "at"), -1);
  EXPECT_GE(FrequencyIn(plain, "a"), 0);

  options.lettersForEveryKey = true;
  const CompiledVocabulary v = Compile(list, report, options);
  EXPECT_EQ(report.keyLetters, 6u);
  for (const char* letter : {"g", "k", "o", "r", "t", "w"})
    EXPECT_EQ(FrequencyIn(v, letter), 0) << letter;
  for (const char* absent : {"b", "c", "d", "h", "at"}) EXPECT_EQ(FrequencyIn(v, absent), -1);
  EXPECT_EQ(v.entries.size(), plain.entries.size() + 6);
  EXPECT_TRUE(CheckVocabularyBytes(VocabularyFileBytes(v), TestKeyMap()).Passed());
}

TEST(VocCompilerTest, WordsHidingMoreWantedLongerOnesAreLeftOut) {
  // After the keys 4 6 6 3 the list shows the words of four letters first: "good", "home" and
  // the rare "hood" take the three visible places, and "homework" (4 6 6 3 9...) waits for its
  // fifth key (the words of two and three letters keep it out before). Spelling "hood" takes
  // 1 + 2 + 3 + 3 + 1 = 10 taps, and "homework" offered one key sooner saves one: at weight 4,
  // hood goes while 500 > 4 * 10 * its count.
  const std::string shorter = "go\t3000\nin\t2000\nho\t1500\ninn\t100\nion\t100\nhmm\t100\n";
  const std::string words = shorter + "good\t1000\nhomework\t500\n";
  BuildOptions options;
  options.hidingWeight = 4;
  BuildReport report;
  const CompiledVocabulary v = Compile(words + "home\t900\nhood\t12\n", report, options);
  EXPECT_EQ(report.hidingWords, 1u);
  EXPECT_EQ(FrequencyIn(v, "hood"), -1);
  for (const char* kept : {"good", "home", "homework", "go", "inn", "hmm"})
    EXPECT_GT(FrequencyIn(v, kept), 0) << kept;
  EXPECT_TRUE(CheckVocabularyBytes(VocabularyFileBytes(v), TestKeyMap()).Passed());
  // It stays without the weight, and when typed often enough: 4 * 10 * 13 > 500.
  EXPECT_GT(FrequencyIn(Compile(words + "home\t900\nhood\t12\n", report), "hood"), 0);
  EXPECT_EQ(report.hidingWords, 0u);
  EXPECT_GT(FrequencyIn(Compile(words + "home\t900\nhood\t13\n", report, options), "hood"), 0);
  // Every word of the length comes before homework, so the words after the two best must all
  // go for it to come up. "hoof" (1) behind hood takes one next-candidate tap now and 12 taps
  // spelled: 4 * (11 * 10 + 1 * 11) = 484 < 500, both go. "gone" (10, 9 taps spelled) instead:
  // 4 * (11 * 10 + 10 * 8) > 500, all stay.
  const CompiledVocabulary hoof =
      Compile(words + "home\t900\nhood\t11\nhoof\t1\n", report, options);
  EXPECT_EQ(report.hidingWords, 2u);
  EXPECT_EQ(FrequencyIn(hoof, "hood"), -1);
  EXPECT_EQ(FrequencyIn(hoof, "hoof"), -1);
  const CompiledVocabulary gone =
      Compile(words + "home\t900\nhood\t11\ngone\t10\n", report, options);
  EXPECT_EQ(report.hidingWords, 0u);
  EXPECT_GT(FrequencyIn(gone, "gone"), 0);
  // Nothing goes when homework is offered sooner anyway: without the words of three letters it
  // shows after 4 6 6.
  const std::string early = "go\t3000\nin\t2000\nho\t1500\ngood\t1000\nhomework\t500\n";
  EXPECT_GT(FrequencyIn(Compile(early + "home\t900\nhood\t1\n", report, options), "hood"), 0);
  EXPECT_EQ(report.hidingWords, 0u);
  // Of the ways to make room the best is taken: with only "good" (1000) kept, "goodness" (600,
  // 4 6 6 3 6...) and homework both come up for hood and gone, 1100 - 4 * (12 * 10 + 11 * 9) =
  // 224, more than keeping hood too (600 - 4 * 11 * 9 = 204).
  const CompiledVocabulary both =
      Compile(words + "goodness\t600\nhood\t12\ngone\t11\n", report, options);
  EXPECT_EQ(report.hidingWords, 2u);
  EXPECT_EQ(FrequencyIn(both, "gone"), -1);
  EXPECT_EQ(FrequencyIn(both, "hood"), -1);
  EXPECT_GT(FrequencyIn(both, "goodness"), 0);
}

TEST(VocCompilerTest, WordsWithoutAListedFamilyAreEstimatedByTheirEnding) {
  // 60 dictionary words end in "ing" and 6 of them are listed; 60 end in "ly", none listed. The
  // unlisted words rank by the share of their ending's words that the list holds, all below the
  // listed ones, and listed words keep their order.
  std::string list, dictionary;
  AddIngAndLyWords(list, dictionary);
  const WordList extra = ReadWordList(dictionary);
  BuildOptions options;
  options.extraLists.push_back(&extra);
  BuildReport report;
  const CompiledVocabulary v = Compile(list, report, options);
  ASSERT_EQ(v.entries.size(), 120u);
  EXPECT_EQ(report.endingEstimates, 114u);
  auto frequencyOf = [&](const std::string& word) { return FrequencyIn(v, word); };
  const int listedLow = frequencyOf("aaxing"), listedHigh = frequencyOf("faxing");
  const int unlistedIng = frequencyOf("zaxing"), unlistedLy = frequencyOf("zaxly");
  EXPECT_EQ(listedHigh, 127);
  EXPECT_GT(listedHigh, listedLow);
  EXPECT_GT(listedLow, unlistedIng);
  EXPECT_GT(unlistedIng, unlistedLy);
  EXPECT_EQ(unlistedLy, 1);
}

TEST(VocCompilerTest, WordsWithRareEndingsTakeTheShareOfAllWords) {
  // 60 dictionary words end in "ing", 6 listed, and 60 in "ly", none listed; "zzqu" alone ends
  // in "qu", "u" or "zqu". It takes the share of all words (6 of 121): between the two endings,
  // rather than no estimate at all.
  std::string list, dictionary = "zzqu\n";
  AddIngAndLyWords(list, dictionary);
  const WordList extra = ReadWordList(dictionary);
  BuildOptions options;
  options.extraLists.push_back(&extra);
  BuildReport report;
  const CompiledVocabulary v = Compile(list, report, options);
  EXPECT_EQ(report.endingEstimates, 115u);
  EXPECT_GT(FrequencyIn(v, "zaxing"), FrequencyIn(v, "zzqu"));
  EXPECT_GT(FrequencyIn(v, "zzqu"), FrequencyIn(v, "zaxly"));
  options.rareEndingEstimates = false;
  const CompiledVocabulary without = Compile(list, report, options);
  EXPECT_EQ(report.endingEstimates, 114u);
  EXPECT_EQ(FrequencyIn(without, "zzqu"), 0);
}

TEST(VocCompilerTest, CapitalisedWordsCountTheirEndingsApart) {
  // The dictionary writes 60 nouns "Xxytem" with a capital, 6 of them listed (in lower case, as
  // most lists are), and 600 adjective forms "xxwtem" in lower case, none listed; 60 lower-case
  // words end in "ing", 3 listed. Counted together, "-tem" words are rarely listed (6 of 660) and
  // an unlisted noun ranks below an unlisted "-ing" word (3 of 60); counted apart, the nouns'
  // ending is listed 6 times in 60 and the noun comes first, while the adjective forms stay below
  // both.
  std::string list, dictionary;
  for (int i = 0; i < 600; ++i) {
    const std::string stem = {static_cast<char>('a' + i % 26),
                              static_cast<char>('a' + i / 26 % 26)};
    dictionary += stem + "wtem\n";
    if (i >= 60) continue;
    const std::string noun = static_cast<char>(stem[0] - 'a' + 'A') + stem.substr(1) + "ytem";
    dictionary += noun + "\n" + stem + "ying\n";
    if (i < 6) list += stem + "ytem\t" + std::to_string(100 * (i + 1)) + "\n";
    if (i >= 10 && i < 13) list += stem + "ying\t50\n";
  }
  // A word a dictionary writes in lower case too counts with the lower-case words.
  dictionary += "aaytem\n";
  const WordList extra = ReadWordList(dictionary);
  BuildOptions options;
  options.extraLists.push_back(&extra);
  BuildReport report;
  const CompiledVocabulary apart = Compile(list, report, options);
  options.capitalisedEndings = false;
  const CompiledVocabulary together = Compile(list, report, options);
  EXPECT_LT(FrequencyIn(together, "zbytem"), FrequencyIn(together, "zbying"));
  EXPECT_EQ(FrequencyIn(together, "zbytem"), FrequencyIn(together, "zbwtem"));
  EXPECT_GT(FrequencyIn(apart, "zbytem"), FrequencyIn(apart, "zbying"));
  EXPECT_LT(FrequencyIn(apart, "zbwtem"), FrequencyIn(apart, "zbying"));
  // Listed words keep their order either way.
  EXPECT_GT(FrequencyIn(apart, "faytem"), FrequencyIn(apart, "aaytem"));
  EXPECT_GT(FrequencyIn(apart, "aaytem"), FrequencyIn(apart, "zbytem"));
}

// 60 families "Sq Sqen Sqem", every form listed (1000, 900, 10): the "-en" forms carry 0.9 of
// their family's count, the "-em" forms 0.01.
void AddEnAndEmFamilies(std::string& list, std::string& families) {
  for (int i = 0; i < 60; ++i) {
    const std::string stem = {static_cast<char>('a' + i % 26), static_cast<char>('a' + i / 26),
                              'q'};
    list += stem + "\t1000\n" + stem + "en\t900\n" + stem + "em\t10\n";
    families += stem + " " + stem + "en " + stem + "em\n";
  }
}

TEST(VocCompilerTest, UnlistedFormsFollowHowListedFamiliesSpreadOverEndings) {
  // Both endings are listed equally often in the 60 families but differ in share.
  // In a family with a listed word ("zzq") and in one without ("vvq") the unlisted "-en" form
  // then ranks above the "-em" one; listed words keep their order.
  std::string list, families;
  AddEnAndEmFamilies(list, families);
  list += "zzq\t1000\n";
  families += "zzq zzqen zzqem\nvvq vvqen vvqem\n";
  const FamilyList forms = ReadFamilyList(families);
  BuildOptions options;
  options.formLists.push_back(&forms);
  BuildReport report;
  const CompiledVocabulary v = Compile(list, report, options);
  ASSERT_EQ(v.entries.size(), 186u);
  auto frequencyOf = [&](const std::string& word) { return FrequencyIn(v, word); };
  EXPECT_GT(frequencyOf("zzqen"), frequencyOf("zzqem"));
  EXPECT_GT(frequencyOf("vvqen"), frequencyOf("vvqem"));
  EXPECT_GT(frequencyOf("vvqem"), 0);
  // Listed: 1000 above 900 above 10, whatever the estimates.
  EXPECT_GT(frequencyOf("aaq"), frequencyOf("aaqen"));
  EXPECT_GT(frequencyOf("aaqen"), frequencyOf("aaqem"));
  EXPECT_EQ(report.familyEstimates, 2u);
  EXPECT_EQ(report.unlistedFamilyEstimates, 3u);

  // Without the spread, the unlisted family's forms have their ending estimates alone, equal
  // here; without the weights, the listed family's forms are flat shares of its count too.
  options.spreadUnlistedFamilies = false;
  const CompiledVocabulary noSpread = Compile(list, report, options);
  EXPECT_EQ(report.unlistedFamilyEstimates, 0u);
  options.endingWeights = false;
  const CompiledVocabulary flat = Compile(list, report, options);
  EXPECT_EQ(FrequencyIn(noSpread, "vvqen"), FrequencyIn(noSpread, "vvqem"));
  EXPECT_GT(FrequencyIn(noSpread, "zzqen"), FrequencyIn(noSpread, "zzqem"));
  EXPECT_EQ(FrequencyIn(flat, "zzqen"), FrequencyIn(flat, "zzqem"));
}

TEST(VocCompilerTest, PoolTakesWordsByTheirEstimatesNotByTheirFamily) {
  // The 60 families teach that "-em" forms carry 0.01 of their family's count.
  // The listed "zzq" (50) then estimates its "-en" form at some 13 and its "-em" form at some
  // 2.6, which count twice for the pool as forms of a listed family; the dictionary word "vvqen",
  // of no family, has its ending's estimate, some 9.6. A vocabulary with room for three words
  // beyond the listed ones takes zzqen and vvqen, and leaves out the rare form of the listed
  // family.
  std::string list, families;
  AddEnAndEmFamilies(list, families);
  list += "zzq\t50\n";
  families += "zzq zzqen zzqem\n";
  const FamilyList forms = ReadFamilyList(families);
  const WordList extra = ReadWordList("vvqen\n");
  BuildOptions options;
  options.formLists.push_back(&forms);
  options.extraLists.push_back(&extra);
  BuildReport report;
  const CompiledVocabulary all = Compile(list, report, options);
  ASSERT_EQ(all.entries.size(), 184u);
  EXPECT_GT(FrequencyIn(all, "zzqen"), FrequencyIn(all, "vvqen"));
  EXPECT_GT(FrequencyIn(all, "vvqen"), FrequencyIn(all, "zzqem"));
  options.maxWords = 183;
  const CompiledVocabulary cut = Compile(list, report, options);
  EXPECT_GT(FrequencyIn(cut, "zzqen"), 0);
  EXPECT_GT(FrequencyIn(cut, "vvqen"), 0);
  EXPECT_EQ(FrequencyIn(cut, "zzqem"), -1);
  EXPECT_GT(FrequencyIn(cut, "aaqem"), 0);  // listed words come before every estimate

  // At 100, zzq's "-em" form is some 5.2, counted twice 10.3: it comes before vvqen. By their
  // counts and estimates alone (weight 1) it comes after.
  const std::string list100 = list.substr(0, list.size() - 7) + "zzq\t100\n";
  const CompiledVocabulary twice = Compile(list100, report, options);
  EXPECT_GT(FrequencyIn(twice, "zzqem"), 0);
  EXPECT_EQ(FrequencyIn(twice, "vvqen"), -1);
  options.listedFamilyWeight = 1.0;
  const CompiledVocabulary alone = Compile(list100, report, options);
  EXPECT_EQ(FrequencyIn(alone, "zzqem"), -1);
  EXPECT_GT(FrequencyIn(alone, "vvqen"), 0);
}

TEST(VocCompilerTest, EstimatesNeverReorderListedWords) {
  // Random counts, every listed word in a family of unlisted forms: whatever the estimates do to
  // the scale, a listed word with a higher count never gets a lower frequency.
  std::mt19937 random(5);
  std::string list, families;
  std::vector<std::pair<std::string, uint64_t>> listed;
  for (int i = 0; i < 200; ++i) {
    const std::string stem = {static_cast<char>('a' + i % 26), static_cast<char>('a' + i / 26 % 26),
                              'q'};
    const uint64_t count = 1 + random() % 100000;
    list += stem + "\t" + std::to_string(count) + "\n";
    listed.push_back({stem, count});
    families += stem + " " + stem + "ed " + stem + "ing\n";
  }
  const FamilyList forms = ReadFamilyList(families);
  BuildOptions options;
  options.formLists.push_back(&forms);
  BuildReport report;
  const CompiledVocabulary v = Compile(list, report, options);
  ASSERT_EQ(v.entries.size(), 600u);
  std::map<std::string, int> frequency;
  for (const VocEntry& e : v.entries) frequency[e.word] = e.frequency;
  const KeyMap map = TestKeyMap();
  std::vector<std::pair<uint64_t, int>> byCount;
  for (const auto& [word, count] : listed) {
    LetterCodes codes;
    ASSERT_TRUE(EncodeTypable(map, Utf8ToWide(word), codes));
    byCount.push_back({count, frequency[codes]});
  }
  std::sort(byCount.begin(), byCount.end());
  for (size_t i = 1; i < byCount.size(); ++i) {
    if (byCount[i].first > byCount[i - 1].first) {
      EXPECT_GE(byCount[i].second, byCount[i - 1].second) << i;
    }
  }
}

TEST(VocCompilerTest, SameInputInAnyOrderGivesTheSameBytes) {
  std::vector<std::string> lines;
  for (int i = 0; i < 300; ++i) {
    std::string word;
    for (int n = i;; n /= 26) {
      word.push_back(static_cast<char>('a' + n % 26));
      if (n < 26) break;
    }
    lines.push_back(word + "suffix\t" + std::to_string(1 + (i * 37) % 101) + "\n");
  }
  std::string first;
  for (const std::string& line : lines) first += line;
  std::shuffle(lines.begin(), lines.end(), std::mt19937(7));
  std::string second;
  for (const std::string& line : lines) second += line;
  BuildReport report;
  const std::string a = VocabularyFileBytes(Compile(first, report));
  const std::string b = VocabularyFileBytes(Compile(second, report));
  EXPECT_EQ(a, b);
  EXPECT_TRUE(CheckVocabularyBytes(a, TestKeyMap()).Passed());
}

TEST(VocCompilerTest, FileBytesFollowTheLayout) {
  CompiledVocabulary v;
  v.entries.push_back({Codes({0x12, 0x31, 0x55}), 100});
  v.entries.push_back({Codes({0x12, 0x31, 0x56, 0x21}), 7});
  PairRecord pair;
  pair.key = 0xFF80;
  pair.next[0] = 0x30;
  pair.weight[0] = 127;
  pair.count = 1;
  v.pairs.push_back(pair);
  const std::string bytes = VocabularyFileBytes(v);
  const std::string expected =
      Codes({2, 0, 0, 0}) + Codes({0x00, 0x00, 0x40, 0x1E}) +  // offset 0, frequency 100, length 3
      Codes({0x03, 0x00, 0x70, 0x20}) +                        // offset 3, frequency 7, length 4
      Codes({6, 0, 0, 0}) + Codes({0x14, 0x31, 0x55, 0x05, 0x56, 0x21}) + Codes({1, 0, 0, 0}) +
      Codes({0x80, 0xFF, 0x30, 0, 0, 0, 127, 0, 0, 0, 1, 0});
  EXPECT_EQ(bytes, expected);
}

TEST(VocCompilerTest, PairTableCountsFromThe2ndLetterOnAndMergesSignFilledKeys) {
  std::vector<VocEntry> entries = {
      {Codes({0x10, 0x11, 0x12, 0x13}), 9},  // pair (b, c) -> d, weight 10
      {Codes({0x14, 0x11, 0x12, 0x15}), 4},  // pair (b, c) -> f, weight 5
      {Codes({0x22, 0x20, 0x80, 0x31}), 0},  // (i, ä) and (j, ä) share key 0xFF80
      {Codes({0x23, 0x21, 0x80, 0x30}), 0},
  };
  const std::vector<PairRecord> pairs = BuildPairTable(entries);
  ASSERT_EQ(pairs.size(), 2u);  // no record for the pairs at position 0
  EXPECT_EQ(pairs[0].key, 0x1112);
  ASSERT_EQ(pairs[0].count, 2);
  EXPECT_EQ(pairs[0].next[0], 0x13);
  EXPECT_EQ(pairs[0].weight[0], 84);  // 127 * 10 / 15
  EXPECT_EQ(pairs[0].next[1], 0x15);
  EXPECT_EQ(pairs[0].weight[1], 42);
  EXPECT_EQ(pairs[1].key, 0xFF80);
  ASSERT_EQ(pairs[1].count, 2);
  EXPECT_EQ(pairs[1].next[0], 0x30);  // equal weights: lower code first
  EXPECT_EQ(pairs[1].next[1], 0x31);
  EXPECT_EQ(pairs[1].weight[0], 63);

  std::vector<VocEntry> many;
  for (int i = 0; i < 6; ++i)
    many.push_back({Codes({0x10, 0x11, 0x12, 0x20 + i}), static_cast<uint8_t>(i)});
  const std::vector<PairRecord> four = BuildPairTable(many);
  ASSERT_EQ(four.size(), 1u);
  ASSERT_EQ(four[0].count, 4);
  EXPECT_EQ(four[0].next[0], 0x25);  // the heaviest four, heaviest first
  EXPECT_EQ(four[0].next[3], 0x22);
}

TEST(VocCompilerTest, PoolStaysWithinTheReachOfTheOffsets) {
  // 40,000 random words of 31 letters front-code to well over 2^20 bytes; the pool keeps 64 KiB
  // free for the user's words.
  std::mt19937 random(11);
  std::string list;
  for (int i = 0; i < 40000; ++i) {
    std::string word;
    for (int n = 0; n < 31; ++n) word.push_back(static_cast<char>('a' + random() % 26));
    list += word + "\t" + std::to_string(40000 - i) + "\n";
  }
  BuildReport report;
  const CompiledVocabulary v = Compile(list, report);
  EXPECT_GT(report.cutByPool, 0u);
  EXPECT_LE(report.poolBytes, kPoolLimit);
  EXPECT_GT(report.poolBytes, kPoolLimit - 40);  // no more words were left out than needed
  EXPECT_EQ(v.entries.size() + report.cutByPool, 40000u);
  // The words left out are those of lowest count: the most frequent word is kept.
  const WordList words = ReadWordList(list);
  LetterCodes top;
  ASSERT_TRUE(EncodeTypable(TestKeyMap(), words.words[0].text, top));
  EXPECT_TRUE(std::any_of(v.entries.begin(), v.entries.end(),
                          [&](const VocEntry& e) { return e.word == top; }));
  const std::string bytes = VocabularyFileBytes(v);
  EXPECT_TRUE(CheckVocabularyBytes(bytes, TestKeyMap()).Passed());
}

}  // namespace
}  // namespace tessaline::vocbuild
