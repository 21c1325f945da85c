// The longest-common-subsequence table and its walk back.
#include "diff/lcs.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>

namespace diff {

CommonPairs lcs_common_pairs(Lines left, Lines right) {
  const std::size_t a = left.size();
  const std::size_t b = right.size();
  const std::size_t columns = b + 1;
  // A count never exceeds the shorter list, and the caller keeps a x b
  // below a million, so 32 bits are plenty.
  if (a + 1 > std::numeric_limits<std::size_t>::max() / columns) {
    throw std::bad_alloc();  // the cell count itself would not fit
  }
  std::vector<std::uint32_t> table((a + 1) * columns, 0);
  auto cell = [&](std::size_t i, std::size_t j) -> std::uint32_t& {
    return table[i * columns + j];
  };
  for (std::size_t i = 1; i <= a; ++i) {
    for (std::size_t j = 1; j <= b; ++j) {
      cell(i, j) = lines_equal(left[i - 1], right[j - 1])
                       ? cell(i - 1, j - 1) + 1
                       : std::max(cell(i - 1, j), cell(i, j - 1));
    }
  }

  // Runs are found last first; a pair directly before the run found last
  // extends it.
  CommonPairs runs;
  std::size_t i = a;
  std::size_t j = b;
  while (i > 0 && j > 0) {
    if (lines_equal(left[i - 1], right[j - 1])) {
      --i;
      --j;
      if (!runs.empty() && runs.back().left == i + 1 &&
          runs.back().right == j + 1) {
        runs.back().left = i;
        runs.back().right = j;
        ++runs.back().length;
      } else {
        runs.push_back({.left = i, .right = j, .length = 1});
      }
    } else if (cell(i - 1, j) < cell(i, j - 1)) {
      --j;
    } else {
      --i;
    }
  }
  std::reverse(runs.begin(), runs.end());
  return runs;
}

}  // namespace diff
