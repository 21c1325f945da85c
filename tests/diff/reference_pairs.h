// References for the matched lines of large inputs: the diagonal search in
// its plainest form, and the textbook table of common-subsequence lengths
// for the walk over them.
#ifndef VRELSDIFF_TESTS_DIFF_REFERENCE_PAIRS_H_
#define VRELSDIFF_TESTS_DIFF_REFERENCE_PAIRS_H_

#include <algorithm>
#include <cstdint>
#include <vector>

#include "diff/lcs_walk.h"
#include "diff/script_check.h"
#include "types/compare_line.h"

namespace diff::test {

// The diagonal search in its plainest form, as the reference for every
// faster way: a signed table over every diagonal, copied at each pass, and
// a trace that holds the whole table after each pass.
inline Pairs full_trace_pairs(const std::vector<types::CompareLine>& left,
                              const std::vector<types::CompareLine>& right) {
  const std::int64_t a = static_cast<std::int64_t>(left.size());
  const std::int64_t b = static_cast<std::int64_t>(right.size());
  const std::int64_t offset = a + b + 1;
  std::vector<std::int64_t> table(static_cast<std::size_t>(2 * offset + 1), 0);
  std::vector<std::vector<std::int64_t>> trace;
  auto at = [offset](std::vector<std::int64_t> & t, std::int64_t k) -> auto& {
    return t[static_cast<std::size_t>(k + offset)];
  };
  bool done = false;
  for (std::int64_t d = 0; d <= a + b && !done; ++d) {
    std::vector<std::int64_t> copy = table;
    for (std::int64_t k = -d; k <= d; k += 2) {
      std::int64_t x =
          (k == -d || (k != d && at(table, k - 1) < at(table, k + 1)))
              ? at(table, k + 1)
              : at(table, k - 1) + 1;
      std::int64_t y = x - k;
      while (x < a && y < b &&
             left[static_cast<std::size_t>(x)].normalized ==
                 right[static_cast<std::size_t>(y)].normalized) {
        ++x;
        ++y;
      }
      at(copy, k) = x;
      if (x >= a && y >= b) {
        done = true;
        break;
      }
    }
    trace.push_back(copy);
    table = copy;
  }
  Pairs pairs;
  std::int64_t x = a;
  std::int64_t y = b;
  for (std::int64_t d = static_cast<std::int64_t>(trace.size()) - 1; d >= 0;
       --d) {
    auto& t = trace[static_cast<std::size_t>(d)];
    const std::int64_t k = x - y;
    const std::int64_t p =
        (k == -d || (k != d && at(t, k - 1) < at(t, k + 1))) ? k + 1 : k - 1;
    const std::int64_t px =
        d > 0 ? at(trace[static_cast<std::size_t>(d - 1)], p) : 0;
    const std::int64_t py = px - p;
    while (x > px && y > py) {
      pairs.emplace_back(x - 1, y - 1);
      --x;
      --y;
    }
    x = px;
    y = py;
  }
  return Pairs(pairs.rbegin(), pairs.rend());
}

// L(x, y) from the whole table, for walk_lengths.
struct TableLengths {
  std::size_t columns;
  std::vector<std::uint64_t> cells;

  TableLengths(const std::vector<types::CompareLine>& left,
               const std::vector<types::CompareLine>& right)
      : columns(right.size() + 1), cells((left.size() + 1) * columns, 0) {
    for (std::size_t x = 1; x <= left.size(); ++x) {
      for (std::size_t y = 1; y <= right.size(); ++y) {
        cells[x * columns + y] =
            left[x - 1].normalized == right[y - 1].normalized
                ? cells[(x - 1) * columns + y - 1] + 1
                : std::max(cells[(x - 1) * columns + y],
                           cells[x * columns + y - 1]);
      }
    }
  }

  Around around(std::uint64_t x, std::uint64_t y) const {
    return {.here = cells[x * columns + y],
            .above = cells[x * columns + y - 1],
            .left_of = cells[(x - 1) * columns + y]};
  }
};

}  // namespace diff::test

#endif  // VRELSDIFF_TESTS_DIFF_REFERENCE_PAIRS_H_
