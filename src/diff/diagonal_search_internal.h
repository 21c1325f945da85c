// The parts of myers_common_pairs: the diagonal search on its own, on line
// records or on line numbers, and the plan that chains it with the
// numbering and the bit-parallel rows. For myers_common_pairs and tests.
#ifndef VRELSDIFF_DIFF_DIAGONAL_SEARCH_INTERNAL_H_
#define VRELSDIFF_DIFF_DIAGONAL_SEARCH_INTERNAL_H_

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>

#include "diff/common_pairs.h"
#include "diff/line_classes.h"
#include "types/compare_line.h"

namespace diff {

// The passes the search keeps whole are at least this far apart.
inline constexpr std::uint64_t kMinCheckpointGap = 32;

struct SearchLimits {
  // Kept passes at least this far apart (>= 1); the gap after pass c is
  // the larger of it and c^(2/3). The result does not depend on it: a
  // small one only makes the walk back recompute more, shorter segments.
  std::uint64_t min_gap = kMinCheckpointGap;
  // The search gives up once its passes have taken this many diagonal
  // steps in all, checked at the end of each pass; each equal line it
  // followed counts as `followed_line_steps` more. Where lines of a few
  // kinds alternate at random, the ends of the runs of equal lines cannot
  // be foreseen, and following them costs several steps' time.
  std::uint64_t max_steps = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t followed_line_steps = 0;
  // Also gives up, from a thirty-second of the way on, where its progress
  // so far says that it would run past max_steps.
  bool give_up_early = false;
};

// The greedy diagonal search and its walk back over the lists as given;
// nothing when it gave up. REQUIRES: both lists non-empty.
std::optional<CommonPairs> diagonal_search(Lines left, Lines right,
                                           const SearchLimits& limits);
std::optional<CommonPairs> diagonal_search(std::span<const std::uint32_t> left,
                                           std::span<const std::uint32_t> right,
                                           const SearchLimits& limits);

// How the partnered lines are compared once the lines are numbered.
enum class PartneredMethod {
  kCheaper,         // the search, and the rows where it runs long
  kDiagonalSearch,  // the search alone
  kRows,            // the bit-parallel rows alone
};

struct SearchPlan {
  std::uint64_t min_gap = kMinCheckpointGap;
  // Other than kCheaper, the lines are numbered before any search.
  PartneredMethod method = PartneredMethod::kCheaper;
  std::size_t rows_per_block = 0;  // 0: the rows' own choice
  NumberingLimits numbering;
};

// myers_common_pairs by `plan`; every plan gives the same pairs.
CommonPairs myers_common_pairs_with(Lines left, Lines right,
                                    const SearchPlan& plan);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_DIAGONAL_SEARCH_INTERNAL_H_
