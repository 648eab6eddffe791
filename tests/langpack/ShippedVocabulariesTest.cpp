// The committed vocabularies are exactly what the build makes from the word lists, and each
// passes the vocabulary check against its language file.
#include <gtest/gtest.h>

#include "ShippedLanguages.h"
#include "languages/KeyMap.h"
#include "support/TestFiles.h"
#include "vocbuild/VocCheck.h"

namespace tessaline::langpack {
namespace {

TEST(ShippedVocabulariesTest, CommittedEqualsRegeneratedAndPassesTheCheck) {
  for (const ShippedLanguage& language : ShippedLanguages()) {
    SCOPED_TRACE(language.name);
    const std::string committed = testing::ReadBytes(DataPath(std::string("Languages/") + language.name + ".voc"));
    const std::string rebuilt =
        testing::ReadBytes(std::string(TESSALINE_REGENERATED_DIR) + "/" + language.name + ".voc");
    ASSERT_FALSE(rebuilt.empty());
    EXPECT_TRUE(committed == rebuilt) << "data/Languages/" << language.name
                                      << ".voc is stale: build the target update-languages";
    // The search aids beside it, as the compiler writes them.
    const std::string aids = std::string("Languages/") + language.name + ".aid";
    EXPECT_TRUE(testing::ReadBytes(DataPath(aids)) ==
                testing::ReadBytes(std::string(TESSALINE_REGENERATED_DIR) + "/" + language.name + ".aid"))
        << "data/" << aids << " is stale: build the target update-languages";
    KeyMap map;
    map.LoadKeyMap(DataPath(std::string("Languages/") + language.name + ".chr"));
    const vocbuild::CheckResult result = vocbuild::CheckVocabularyBytes(committed, map);
    EXPECT_TRUE(result.Passed()) << (result.problems.empty() ? "" : result.problems[0]);
    EXPECT_GT(result.entryCount, 8000u);
    // One-letter words are what a single key offers: every language has some.
    size_t oneLetter = 0;
    for (const vocbuild::CheckedEntry& entry : result.entries) oneLetter += entry.word.size() == 1;
    EXPECT_GT(oneLetter, 0u);
  }
}

}  // namespace
}  // namespace tessaline::langpack
