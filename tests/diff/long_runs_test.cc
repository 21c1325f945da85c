// The counts of the lines in long runs that both lists hold.
#include "diff/long_runs.h"

#include <cstdint>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

namespace diff {
namespace {

using Numbers = std::vector<std::uint32_t>;

Numbers counting(std::uint32_t from, std::uint32_t count) {
  Numbers numbers(count);
  std::iota(numbers.begin(), numbers.end(), from);
  return numbers;
}

Numbers joined(std::initializer_list<Numbers> parts) {
  Numbers all;
  for (const Numbers& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(LongRuns, CountsTheLinesInRunsBothListsHold) {
  constexpr std::int64_t kAny = 1000;
  struct Case {
    const char* name;
    Numbers left;
    Numbers right;
    std::int64_t low_diagonal, high_diagonal;
    LongRunLines expected;  // counted before left line 20 and right line 20
  } cases[] = {
      {"the same lines",
       counting(0, 100),
       counting(0, 100),
       0,
       0,
       {.left = 100, .left_before = 20, .right = 100, .right_before = 20}},
      {"a run of 50 in the middle of the left",
       counting(0, 100),
       counting(10, 50),
       -kAny,
       kAny,
       {.left = 50, .left_before = 10, .right = 50, .right_before = 20}},
      {"a run just too short",
       counting(0, 100),
       counting(10, 31),
       -kAny,
       kAny,
       {}},
      {"a run just long enough",
       counting(0, 100),
       counting(10, 32),
       -kAny,
       kAny,
       {.left = 32, .left_before = 10, .right = 32, .right_before = 20}},
      {"a run twice on the left, overlapping matches counted once",
       joined({counting(0, 40), counting(0, 40)}),
       counting(0, 40),
       -kAny,
       kAny,
       {.left = 80, .left_before = 20, .right = 40, .right_before = 20}},
      {"one kind of line",
       Numbers(40, 7),
       Numbers(32, 7),
       -kAny,
       kAny,
       {.left = 40, .left_before = 20, .right = 32, .right_before = 20}},
      {"nothing shared", counting(0, 100), counting(100, 100), -kAny, kAny, {}},
      {"lists shorter than a run",
       counting(0, 31),
       counting(0, 31),
       -kAny,
       kAny,
       {}},
      {"two halves swapped",
       counting(0, 64),
       joined({counting(32, 32), counting(0, 32)}),
       -kAny,
       kAny,
       {.left = 64, .left_before = 20, .right = 64, .right_before = 20}},
      // The halves lie on diagonals -32 and 32.
      {"two halves swapped, one diagonal",
       counting(0, 64),
       joined({counting(32, 32), counting(0, 32)}),
       32,
       32,
       {.left = 32, .left_before = 0, .right = 32, .right_before = 20}},
      {"two halves swapped, near diagonal 0",
       counting(0, 64),
       joined({counting(32, 32), counting(0, 32)}),
       -31,
       31,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LongRunLines found = lines_in_long_common_runs(
        c.left, c.right, 20, 20, c.low_diagonal, c.high_diagonal);
    EXPECT_EQ(c.expected.left, found.left);
    EXPECT_EQ(c.expected.left_before, found.left_before);
    EXPECT_EQ(c.expected.right, found.right);
    EXPECT_EQ(c.expected.right_before, found.right_before);
  }
}

}  // namespace
}  // namespace diff
