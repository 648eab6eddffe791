// Every shipped language file: its letters round-trip through the letter codes, its users find
// their letters on the telephone keys and on the compact QWERTY, multi-tap reaches each of them,
// the punctuation and space keys are what the input window expects, and English carries every
// interface text.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ShippedLanguages.h"
#include "engine/ActiveLanguages.h"
#include "engine/WordSearch.h"
#include "languages/InterfaceTexts.h"
#include "languages/KeyMap.h"
#include "settings/Settings.h"
#include "support/TestFiles.h"
#include "textfile/TextFile.h"

namespace tessaline::langpack {
namespace {

std::string ChrPath(const ShippedLanguage& language) {
  return DataPath(std::string("Languages/") + language.name + ".chr");
}

// The key among [first, last] that carries ch, or 0; fails the test when two do.
int KeyWithLetter(const KeyMap& map, char16_t ch, int first, int last) {
  int found = 0;
  for (int key = first; key <= last; ++key) {
    if (map.LetterIndexOnKey(key, ch) < 0) continue;
    EXPECT_EQ(found, 0) << "letter U+" << std::hex << int(ch) << " on keys " << std::dec << found
                        << " and " << key;
    found = key;
  }
  return found;
}

bool ReachedByMultiTap(const KeyMap& map, int key, char16_t ch) {
  char16_t letter = map.NextLetterOnKey(key, 0xFFFF);  // the first letter
  for (int taps = 0; taps < map.KeyLetterCount(key); ++taps) {
    if (letter == ch) return true;
    letter = map.NextLetterOnKey(key, letter);
  }
  return false;
}

TEST(ShippedLanguagesTest, RecordsStayWithinTheFormatsLimits) {
  for (const ShippedLanguage& language : ShippedLanguages()) {
    SCOPED_TRACE(language.name);
    const TextSection root = ReadTextFile(ChrPath(language));
    KeyMap map;
    map.LoadKeyMap(root);
    size_t chararrays = 0;
    for (const TextRecord& record : root.records) {
      if (record.key == std::string("charset")) {
        EXPECT_LE(record.values.size(), 9u);  // an id and at most eight letters
        EXPECT_LE(record.values[0].integer, kMaxCharsetId);
      }
      if (record.key == std::string("chararray")) {
        ++chararrays;
        EXPECT_LE(record.values.size(), 9u);
      }
    }
    EXPECT_EQ(map.Keys().size(), chararrays) << "a key record was dropped";
  }
}

TEST(ShippedLanguagesTest, EveryLetterRoundTripsThroughItsCode) {
  for (const ShippedLanguage& language : ShippedLanguages()) {
    SCOPED_TRACE(language.name);
    KeyMap map;
    map.LoadKeyMap(ChrPath(language));
    ASSERT_FALSE(map.Charsets().empty());
    std::set<char16_t> seen;
    for (const Charset& set : map.Charsets()) {
      for (int i = 0; i < set.count; ++i) {
        const char16_t letter = set.letters[i];
        EXPECT_TRUE(seen.insert(letter).second) << "a letter in two charsets";
        LetterCodes codes;
        ASSERT_TRUE(map.Encode(WideString(1, letter), codes));
        EXPECT_EQ(static_cast<uint8_t>(codes[0]), KeyMap::MakeCode(set.id, i));
        EXPECT_EQ(map.Decode(codes), WideString(1, letter));
      }
    }
    LetterCodes word;
    ASSERT_TRUE(map.Encode(language.alphabet, word));
    EXPECT_EQ(map.Decode(word), language.alphabet);
  }
}

TEST(ShippedLanguagesTest, TelephoneAndQwertyKeysCarryTheWholeAlphabet) {
  for (const ShippedLanguage& language : ShippedLanguages()) {
    SCOPED_TRACE(language.name);
    KeyMap map;
    map.LoadKeyMap(ChrPath(language));
    for (int key = 2; key <= 9; ++key) {
      const WideString caption = map.KeyCaption(key);
      EXPECT_EQ(caption.substr(0, caption.find(u'\x0001')), language.phoneGroups[key - 2])
          << "key " << key;
      EXPECT_FALSE(map.KeyHasPunctuation(key));
    }
    std::set<char16_t> onPhone, onQwerty;
    for (int key = 2; key <= 9; ++key)
      for (char16_t ch : map.KeyLetters(key)) onPhone.insert(ch);
    for (int key = 101; key <= 114; ++key) {
      EXPECT_FALSE(map.KeyHasPunctuation(key)) << "key " << key;
      for (char16_t ch : map.KeyLetters(key)) onQwerty.insert(ch);
    }
    const std::set<char16_t> alphabet(language.alphabet.begin(), language.alphabet.end());
    EXPECT_EQ(onPhone, alphabet);
    EXPECT_EQ(onQwerty, alphabet);
    for (char16_t ch : language.alphabet) {
      const int phone = KeyWithLetter(map, ch, 2, 9);
      const int qwerty = KeyWithLetter(map, ch, 101, 114);
      ASSERT_NE(phone, 0);
      ASSERT_NE(qwerty, 0);
      EXPECT_TRUE(ReachedByMultiTap(map, phone, ch));
      EXPECT_TRUE(ReachedByMultiTap(map, qwerty, ch));
    }
  }
}

TEST(ShippedLanguagesTest, PunctuationSpaceAndNoDigitOnALetterKey) {
  for (const ShippedLanguage& language : ShippedLanguages()) {
    SCOPED_TRACE(language.name);
    KeyMap map;
    map.LoadKeyMap(ChrPath(language));
    EXPECT_TRUE(map.KeyHasPunctuation(1));
    EXPECT_TRUE(map.KeyHasPunctuation(115));
    EXPECT_NE(map.LetterIndexOnKey(1, u'.'), -1);
    EXPECT_NE(map.LetterIndexOnKey(1, u'\''), -1);  // joins the parts of c'est, don't
    EXPECT_EQ(map.KeyLetters(10), u" ");
    EXPECT_TRUE(map.KeyHasPunctuation(10));
    for (const KeyEntry& key : map.Keys()) {
      for (char16_t ch : map.KeyLetters(key.key))
        EXPECT_FALSE(ch >= u'0' && ch <= u'9') << "key " << int(key.key);
    }
  }
}

TEST(ShippedLanguagesTest, EnglishCarriesEveryInterfaceText) {
  testing::TempDir dir;
  dir.Write("Program files/Tessaline/Languages/English.chr",
            testing::ReadBytes(DataPath("Languages/English.chr")));
  testing::DeviceRootScope root(dir.Path());
  Settings& settings = GetSettings();
  const Settings saved = settings;
  SetSettingsText(settings.Path, u"\\Program files\\Tessaline");
  SetSettingsText(settings.Locale, u"English");
  LoadInterfaceTexts();
  std::vector<int> numbers;
  for (int n = 0; n <= 46; ++n) numbers.push_back(n);
  numbers.push_back(100);
  for (int n : numbers) {
    const WideString text = InterfaceText(n);
    EXPECT_NE(text, u"Text #" + Utf8ToWide(std::to_string(n))) << n;
  }
  EXPECT_EQ(InterfaceText(0), u"Active languages");  // spaces survive: the texts are quoted
  EXPECT_EQ(InterfaceText(39), u"Make default IM");
  EXPECT_EQ(InterfaceText(101), u"Text #101");
  settings = saved;
  testing::MessageRecorder quiet;  // the saved record may have no installation folder
  LoadInterfaceTexts();
}

TEST(ShippedLanguagesTest, TranslatedTextsAreCompleteUtf8) {
  for (const ShippedLanguage& language : ShippedLanguages()) {
    SCOPED_TRACE(language.name);
    const TextSection root = ReadTextFile(ChrPath(language));
    std::set<std::string> numbered;
    for (const TextRecord& record : root.records) {
      if (record.key.rfind("text", 0) != 0) continue;
      ASSERT_EQ(record.values.size(), 1u) << record.key;
      EXPECT_TRUE(IsValidUtf8(record.values[0].text)) << record.key;
      EXPECT_FALSE(record.values[0].text.empty()) << record.key;
      numbered.insert(record.key);
    }
    if (numbered.empty()) continue;  // English texts stand in
    EXPECT_EQ(numbered.size(), 48u);
    for (int n = 0; n <= 46; ++n) EXPECT_TRUE(numbered.count("text" + std::to_string(n))) << n;
    EXPECT_TRUE(numbered.count("text100"));
  }
}

// Installs the shipped language files into a device folder.
class InstalledLanguages {
 public:
  InstalledLanguages() : root_(dir_.Path()) {
    for (const ShippedLanguage& language : ShippedLanguages()) {
      for (const char* extension : {".chr", ".voc", ".aid"}) {
        const std::string file = std::string(language.name) + extension;
        dir_.Write("Program files/Tessaline/Languages/" + file,
                   testing::ReadBytes(DataPath("Languages/" + file)));
      }
    }
  }
  ~InstalledLanguages() { FreeActiveLanguages(); }
  // That language alone as the active one, with the settings' defaults otherwise.
  void Activate(const char* name) {
    ActiveLanguageChoice choice;
    choice.installFolder = "\\Program files\\Tessaline";
    choice.primary = Utf8ToWide(name);
    LoadActiveLanguages(choice);
  }

 private:
  testing::TempDir dir_;
  testing::DeviceRootScope root_;
};

TEST(ShippedLanguagesTest, EachLoadsAsTheActiveLanguageAndTypesItsAlphabet) {
  InstalledLanguages installed;
  for (const ShippedLanguage& language : ShippedLanguages()) {
    SCOPED_TRACE(language.name);
    installed.Activate(language.name);  // any message box fails the test
    ASSERT_EQ(ActiveLanguageCount(), 1u);
    Language& active = ActiveLanguage(0);
    EXPECT_GT(active.EntryCount(), 8000u);
    // After the first key the word search offers words of one letter only: every letter key
    // must have one, or each word beginning on it would start with spelling.
    for (int key = 2; key <= 9; ++key) {
      WordSearch first;
      first.SetLanguage(&active);
      first.PressKey(static_cast<int8_t>(key));
      std::vector<WideString> candidates;
      first.GetCandidates(candidates);
      EXPECT_FALSE(candidates.empty()) << "key " << key;
    }
    // The alphabet, in pieces a word may hold, spelled as new words and typed key by key on the
    // telephone keys: the word search offers each piece back.
    const size_t pieces = (language.alphabet.size() + 19) / 20;
    const size_t size =
        (language.alphabet.size() + pieces - 1) / pieces;  // long enough to be unique
    for (size_t start = 0; start < language.alphabet.size(); start += size) {
      const WideString piece = language.alphabet.substr(start, size);
      EXPECT_TRUE(active.AddUserWord(piece));
      WordSearch search;
      search.SetLanguage(&active);
      for (char16_t ch : piece) {
        int key = 2;
        while (key <= 9 && active.LetterIndexOnKey(key, ch) < 0) ++key;
        ASSERT_LE(key, 9);
        search.PressKey(static_cast<int8_t>(key));
      }
      std::vector<WideString> candidates;
      search.GetCandidates(candidates);
      EXPECT_NE(std::find(candidates.begin(), candidates.end(), piece), candidates.end());
    }
    FreeActiveLanguages();
  }
}

}  // namespace
}  // namespace tessaline::langpack
