// The diagonal search with its compact, checkpointed trace against a plain
// version that keeps the whole table after every pass. The search runs on
// the lines as given here; exact_methods_test.cc compares it with the ways
// that number and drop lines first.
#include "diff/diagonal_search.h"

#include <sys/resource.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "diff/myers_common_pairs.h"
#include "reference_pairs.h"
#include "script_check.h"

namespace diff {
namespace {

using test::full_trace_pairs;
using test::Pairs;
using types::CompareLine;

// The search alone, without numbering or dropping lines.
Pairs searched(const std::vector<CompareLine>& left,
               const std::vector<CompareLine>& right, std::uint64_t gap) {
  return test::expand(*diagonal_search(left, right, {.min_gap = gap}));
}

// Lines "<tag><n>" with n below `alphabet`; with `blank_percent` > 0 that
// share of the lines is empty instead.
std::vector<CompareLine> random_lines(std::mt19937& rng, int length,
                                      int alphabet, const std::string& tag,
                                      int blank_percent = 0) {
  std::uniform_int_distribution<int> letter(0, alphabet - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  std::vector<std::string> texts;
  for (int i = 0; i < length; ++i) {
    texts.push_back(
        percent(rng) < blank_percent ? "" : tag + std::to_string(letter(rng)));
  }
  return test::plain(texts);
}

enum class Relation { kSameLines, kNothingInCommon, kOneLineInCommon };

// Random pairs of line lists: one side's length is drawn from the short
// range, the other's from the long one, evenly over its logarithm (the
// full trace needs memory in the square of the lines), and the sides take
// turns.
struct Shape {
  const char* name;
  int rounds;
  int short_min, short_max;
  int long_min, long_max;
  int alphabet;
  int blank_percent;
  Relation relation;
};

// Compares the compact search, at several checkpoint gaps, with the full
// trace on `rounds` random pairs of each shape.
void expect_full_trace_pairs(std::span<const Shape> shapes, unsigned seed) {
  const std::uint64_t gaps[] = {1, 2, 3, 7, kMinCheckpointGap};
  std::mt19937 rng(seed);
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    std::uniform_int_distribution<int> short_length(shape.short_min,
                                                    shape.short_max);
    std::uniform_real_distribution<double> log_length(
        std::log(shape.long_min), std::log(shape.long_max + 1.0));
    for (int round = 0; round < shape.rounds; ++round) {
      auto left = random_lines(rng, short_length(rng), shape.alphabet, "",
                               shape.blank_percent);
      auto right = random_lines(
          rng, static_cast<int>(std::exp(log_length(rng))), shape.alphabet,
          shape.relation == Relation::kSameLines ? "" : "r",
          shape.blank_percent);
      if (shape.relation == Relation::kOneLineInCommon) {
        std::uniform_int_distribution<std::size_t> in_left(0, left.size() - 1);
        std::uniform_int_distribution<std::size_t> in_right(0,
                                                            right.size() - 1);
        right[in_right(rng)] = left[in_left(rng)];
      }
      if (round % 2 == 1) {
        std::swap(left, right);
      }
      const Pairs expected = full_trace_pairs(left, right);
      for (std::uint64_t gap : gaps) {
        SCOPED_TRACE("round " + std::to_string(round) + ", gap " +
                     std::to_string(gap));
        EXPECT_EQ(expected, searched(left, right, gap));
      }
      EXPECT_EQ(expected, test::expand(myers_common_pairs(left, right)));
    }
  }
}

TEST(MyersCommonPairs, CompactSearchRepeatsTheFullTrace) {
  const Shape shapes[] = {
      {"short, two kinds of line", 40, 1, 12, 1, 12, 2, 0,
       Relation::kSameLines},
      {"medium, few kinds", 40, 1, 80, 1, 80, 3, 0, Relation::kSameLines},
      {"medium, many kinds", 40, 1, 80, 1, 80, 40, 0, Relation::kSameLines},
      {"long, nothing in common", 40, 1, 150, 1, 150, 5, 0,
       Relation::kNothingInCommon},
      {"long, one line in common", 40, 1, 150, 1, 150, 5, 0,
       Relation::kOneLineInCommon},
  };
  expect_full_trace_pairs(shapes, 7);
}

TEST(MyersCommonPairs, LopsidedPairsRepeatTheFullTrace) {
  // Most diagonals leave the rectangle early, and the search keeps only a
  // narrow band of them.
  const Shape shapes[] = {
      {"few kinds", 6, 1, 50, 100, 5000, 4, 0, Relation::kSameLines},
      {"mostly blank", 6, 1, 50, 100, 5000, 3, 80, Relation::kSameLines},
      {"all blank", 4, 1, 50, 100, 5000, 1, 100, Relation::kSameLines},
      {"nothing in common", 4, 1, 50, 100, 5000, 20, 0,
       Relation::kNothingInCommon},
      {"one line in common", 6, 1, 50, 100, 5000, 20, 0,
       Relation::kOneLineInCommon},
  };
  expect_full_trace_pairs(shapes, 13);
}

TEST(MyersCommonPairs, LongRunsAroundScatteredEdits) {
  // Edits far apart make long diagonal runs between short bursts of passes,
  // and inserted lines move the walk away from diagonal 0.
  std::mt19937 rng(11);
  for (int round = 0; round < 20; ++round) {
    std::vector<std::string> left_texts;
    std::vector<std::string> right_texts;
    std::uniform_int_distribution<int> kind(0, 9);
    for (int i = 0; i < 400; ++i) {
      const std::string line = "line " + std::to_string(i % 37);
      switch (kind(rng)) {
        case 0:
          right_texts.push_back("new " + std::to_string(i));
          break;
        case 1:
          left_texts.push_back(line);
          break;
        case 2:
          left_texts.push_back(line);
          right_texts.push_back("x");
          break;
        default:
          left_texts.push_back(line);
          right_texts.push_back(line);
      }
    }
    const auto left = test::plain(left_texts);
    const auto right = test::plain(right_texts);
    const Pairs expected = full_trace_pairs(left, right);
    SCOPED_TRACE(round);
    EXPECT_EQ(expected, searched(left, right, 1));
    EXPECT_EQ(expected, searched(left, right, 5));
    EXPECT_EQ(expected, test::expand(myers_common_pairs(left, right)));
  }
}

#if !defined(__SANITIZE_ADDRESS__)
// Virtual memory in use now, in bytes.
std::uint64_t address_space_in_use() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmSize:") {
      std::uint64_t kib = 0;
      status >> kib;
      return kib * 1024;
    }
  }
  return 0;
}

// Searches the records, as when numbering gives up, with 64 MiB of address
// space to spare; exits 0 when the search finds exactly one matched line.
[[noreturn]] void search_in_little_memory(
    const std::vector<CompareLine>& left,
    const std::vector<CompareLine>& right) {
  const rlim_t limit = address_space_in_use() + (rlim_t{64} << 20);
  const rlimit bound = {limit, limit};
  if (setrlimit(RLIMIT_AS, &bound) != 0)
    std::_Exit(3);
  const CommonPairs pairs = *diagonal_search(left, right, {});
  std::_Exit(pairs.size() == 1 && pairs[0].length == 1 ? 0 : 4);
}
#endif

TEST(MyersCommonPairsDeathTest, OneLineInCommonFitsInLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory defeats an address limit";
#else
  // 3,000 against 3,000 lines with one in common: 5,998 passes, for which
  // a trace of whole tables would need 5,999 x 12,003 x 8 bytes (576 MB).
  std::vector<std::string> left_texts;
  std::vector<std::string> right_texts;
  for (int i = 0; i < 3000; ++i) {
    left_texts.push_back("left " + std::to_string(i));
    right_texts.push_back("right " + std::to_string(i));
  }
  right_texts[1000] = left_texts[2000];
  const auto left = test::plain(left_texts);
  const auto right = test::plain(right_texts);
  EXPECT_EXIT(search_in_little_memory(left, right), testing::ExitedWithCode(0),
              "");
#endif
}

}  // namespace
}  // namespace diff
