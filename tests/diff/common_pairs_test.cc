// The matched lines chosen by the table and by the diagonal search.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "diff/compute_diff.h"
#include "diff/lcs.h"
#include "diff/myers_common_pairs.h"
#include "script_check.h"

namespace diff {
namespace {

using test::letters;
using test::Pairs;

TEST(CommonPairs, BothStrategiesOnSmallCases) {
  struct Case {
    const char* name;
    const char* left;
    const char* right;
    Pairs table;
    Pairs search;
  } cases[] = {
      // Where several matchings are as long, the two choose differently.
      {"swapped", "AB", "BA", {{0, 1}}, {{1, 0}}},
      {"left line doubled", "AA", "A", {{1, 0}}, {{0, 0}}},
      {"right line doubled", "A", "AA", {{0, 1}}, {{0, 0}}},
      {"one line changed", "AXB", "AYB", {{0, 0}, {2, 2}}, {{0, 0}, {2, 2}}},
      {"delete then insert", "XA", "AY", {{1, 0}}, {{1, 0}}},
      {"pairwise equal",
       "ABCD",
       "ABCD",
       {{0, 0}, {1, 1}, {2, 2}, {3, 3}},
       {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {"nothing in common", "ABC", "XY", {}, {}},
      {"one line each, equal", "A", "A", {{0, 0}}, {{0, 0}}},
      {"one line each, unequal", "A", "B", {}, {}},
      {"common tail after a swap",
       "ABCD",
       "BACD",
       {{0, 1}, {2, 2}, {3, 3}},
       {{1, 0}, {2, 2}, {3, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto left = letters(c.left);
    const auto right = letters(c.right);
    EXPECT_EQ(c.table, test::expand(lcs_common_pairs(left, right)));
    EXPECT_EQ(c.search, test::expand(myers_common_pairs(left, right)));
  }
}

TEST(CommonPairs, EqualLinesAreEqualNormalisedBytes) {
  // Texts play no part; the normalised forms differ only past a NUL or in
  // length, which a C-string comparison would miss.
  const auto left = std::vector<types::CompareLine>{
      {.text = "x", .normalized = std::string_view("a\0b", 3)},
      {.text = "y", .normalized = "ab"},
      {.text = "z", .normalized = ""}};
  const auto right = std::vector<types::CompareLine>{
      {.text = "X", .normalized = std::string_view("a\0c", 3)},
      {.text = "Y", .normalized = "ab"},
      {.text = "Z", .normalized = ""}};
  const Pairs expected = {{1, 1}, {2, 2}};
  EXPECT_EQ(expected, test::expand(lcs_common_pairs(left, right)));
  EXPECT_EQ(expected, test::expand(myers_common_pairs(left, right)));
}

// The length of a longest common subsequence by trying every subset of the
// left lines, so that it shares nothing with either strategy.
std::uint64_t brute_force_lcs(const std::string& left,
                              const std::string& right) {
  std::uint64_t best = 0;
  for (std::uint32_t mask = 0; mask < (1u << left.size()); ++mask) {
    std::size_t at = 0;
    bool fits = true;
    for (std::size_t i = 0; i < left.size() && fits; ++i) {
      if ((mask >> i) & 1u) {
        at = right.find(left[i], at);
        fits = at != std::string::npos;
        ++at;
      }
    }
    if (fits) {
      best = std::max(best, static_cast<std::uint64_t>(std::popcount(mask)));
    }
  }
  return best;
}

std::uint64_t matched(const CommonPairs& runs) {
  std::uint64_t n = 0;
  for (const CommonRun& run : runs) n += run.length;
  return n;
}

std::string random_letters(std::mt19937& rng, int max_length, char last) {
  std::uniform_int_distribution<int> length(0, max_length);
  std::uniform_int_distribution<int> letter('A', last);
  std::string s(static_cast<std::size_t>(length(rng)), 'A');
  for (char& c : s) c = static_cast<char>(letter(rng));
  return s;
}

TEST(CommonPairs, RandomListsMatchALongestCommonSubsequence) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 3000; ++round) {
    const char last = static_cast<char>('A' + round % 4);  // 1 to 4 letters
    const std::string l = random_letters(rng, 10, last);
    const std::string r = random_letters(rng, 10, last);
    SCOPED_TRACE(l + " / " + r);
    const auto left = letters(l);
    const auto right = letters(r);
    if (!left.empty() && !right.empty()) {
      const CommonPairs table = lcs_common_pairs(left, right);
      const CommonPairs search = myers_common_pairs(left, right);
      const std::uint64_t longest = brute_force_lcs(l, r);
      EXPECT_EQ(longest, matched(table));
      EXPECT_EQ(longest, matched(search));
      EXPECT_EQ("", test::check_pairs(left, right, table));
      EXPECT_EQ("", test::check_pairs(left, right, search));
      EXPECT_EQ("", test::check_script(left, right,
                                       edits_from_pairs(left, right, search)));
    }
    EXPECT_EQ(
        "", test::check_script(left, right, compute_edit_script(left, right)));
  }
}

}  // namespace
}  // namespace diff
