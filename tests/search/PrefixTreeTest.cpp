// The prefix tree against the word list it is built from: every node is the range of one prefix,
// exactly the prefixes whose parents cover enough entries are nodes, and the letters it gives an
// entry are that entry's.
#include "engine/PrefixTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace tessaline {
namespace {

constexpr size_t kDepth = PrefixTree::kDepth;

class PrefixTreeTest : public ::testing::Test {
 protected:
  void Build(std::vector<std::string> list) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    words = list;
    tree.Clear();
    for (size_t i = 0; i < words.size(); ++i) {
      size_t shared = 0;
      if (i > 0) {
        const std::string& v = words[i - 1];
        while (shared < v.size() && shared < words[i].size() && v[shared] == words[i][shared]) {
          ++shared;
        }
      }
      tree.Add(static_cast<uint32_t>(i), words[i], shared);
    }
    tree.Finish(static_cast<uint32_t>(words.size()));
  }

  // The entries [first, last] that begin with the prefix (there is one at least).
  std::pair<size_t, size_t> RangeOf(const std::string& prefix) const {
    const auto first = std::lower_bound(words.begin(), words.end(), prefix);
    const auto end = std::lower_bound(first, words.end(), prefix + '\xff');
    return {static_cast<size_t>(first - words.begin()), static_cast<size_t>(end - words.begin()) - 1};
  }

  // The prefixes that must be nodes: every prefix of one to kDepth letters whose shorter
  // prefixes (from one letter on) each cover at least kMinCover entries.
  std::map<std::string, size_t> ExpectedNodes() const {
    std::map<std::string, size_t> cover;
    for (const std::string& w : words) {
      for (size_t n = 1; n <= std::min(w.size(), kDepth); ++n) ++cover[w.substr(0, n)];
    }
    std::map<std::string, size_t> nodes;
    for (const auto& [prefix, count] : cover) {
      bool kept = true;
      for (size_t n = 1; n < prefix.size() && kept; ++n) {
        kept = cover.at(prefix.substr(0, n)) >= PrefixTree::kMinCover;
      }
      if (kept) nodes[prefix] = count;
    }
    return nodes;
  }

  // Walks the tree, checking each node against the list; returns the prefixes met.
  void Walk(size_t depth, uint32_t begin, uint32_t end, size_t parentFirst, size_t parentLast,
            const std::string& parent, std::map<std::string, size_t>& met) const {
    const PrefixTree::Level& level = tree.At(depth);
    for (uint32_t c = begin; c < end; ++c) {
      const std::string prefix = parent + static_cast<char>(level.letter[c]);
      const size_t first = parentFirst + level.start[c];
      const size_t last = c + 1 < end ? parentFirst + level.start[c + 1] - 1 : parentLast;
      ASSERT_EQ(RangeOf(prefix), std::make_pair(first, last)) << prefix;
      if (c > begin) {
        EXPECT_LT(level.letter[c - 1], level.letter[c]);
      }
      met[prefix] = last - first + 1;
      const bool longer = words[last].size() > prefix.size();
      EXPECT_EQ(level.HasChildren(c), depth + 1 < kDepth && longer &&
                                          last - first + 1 >= PrefixTree::kMinCover)
          << prefix;
      if (level.HasChildren(c)) {
        Walk(depth + 1, level.firstChild[c], level.firstChild[c + 1], first, last, prefix, met);
      }
    }
  }

  void ExpectTreeOfWords() {
    std::map<std::string, size_t> met;
    if (tree.Depth() > 0) {
      Walk(0, 0, static_cast<uint32_t>(tree.At(0).Size()), 0, words.size() - 1, "", met);
    }
    const std::map<std::string, size_t> expected = ExpectedNodes();
    EXPECT_EQ(met, expected);
    EXPECT_EQ(tree.NodeCount(), expected.size());
    // Each entry's letters, as deep as its nodes go.
    for (size_t i = 0; i < words.size(); ++i) {
      const std::string& w = words[i];
      size_t deepest = 0;
      while (deepest < std::min(w.size(), kDepth) && expected.count(w.substr(0, deepest + 1))) {
        ++deepest;
      }
      uint8_t letters[kDepth] = {};
      const size_t got = tree.LettersOf(static_cast<uint32_t>(i), w.size(), letters);
      ASSERT_EQ(got, deepest) << w;
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(letters), got), w.substr(0, got)) << w;
      const size_t fewer = tree.LettersOf(static_cast<uint32_t>(i), 1, letters);
      EXPECT_EQ(fewer, 1u);
    }
  }

  std::vector<std::string> words;
  PrefixTree tree;
};

TEST_F(PrefixTreeTest, EmptyAndSingleWord) {
  Build({});
  EXPECT_EQ(tree.Depth(), 0u);
  EXPECT_EQ(tree.NodeCount(), 0u);
  Build({"abcdefghij"});
  EXPECT_EQ(tree.Depth(), 1u);  // one entry covers too few for any node to keep children
  ExpectTreeOfWords();
}

TEST_F(PrefixTreeTest, NodesOfManyEntriesKeepTheirChildren) {
  std::mt19937 random(5);
  for (int round = 0; round < 4; ++round) {
    // Few letters make deep shared prefixes; words of one letter to twelve, so that some words are
    // the prefixes of nodes and many are longer than the tree.
    std::vector<std::string> list;
    const int count = 200 + round * 1500;
    for (int w = 0; w < count; ++w) {
      std::string word;
      const size_t length = 1 + random() % 12;
      for (size_t i = 0; i < length; ++i) word += "abcxyz"[random() % (w % 4 ? 3 : 6)];
      list.push_back(word);
    }
    // A node just below and one just at the threshold.
    for (size_t i = 0; i + 1 < PrefixTree::kMinCover; ++i) list.push_back("zq" + std::string(i, 'a'));
    for (size_t i = 0; i < PrefixTree::kMinCover; ++i) list.push_back("zr" + std::string(i, 'a'));
    Build(list);
    ExpectTreeOfWords();
    if (HasFailure()) return;
  }
}

TEST_F(PrefixTreeTest, StartsWidenWhereANodeCoversMoreThanSixteenBits) {
  // 70,000 words under "a": the offsets of its children from it pass 65,535, deeper ones do not.
  std::vector<std::string> list = {"b", "bcd"};
  for (int i = 0; i < 70000; ++i) {
    std::string word = "a";
    for (int n = i, k = 0; k < 4; ++k, n /= 26) word += static_cast<char>('a' + n % 26);
    list.push_back(word);
  }
  Build(list);
  EXPECT_TRUE(tree.At(0).start.Wide());
  EXPECT_TRUE(tree.At(1).start.Wide());
  EXPECT_FALSE(tree.At(2).start.Wide());
  ExpectTreeOfWords();
}

}  // namespace
}  // namespace tessaline
