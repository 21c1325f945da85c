// The greedy diagonal search and its walk back, on line records or on line
// numbers, within a budget of work.
#ifndef VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
#define VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_

#include <cstdint>
#include <limits>
#include <optional>
#include <span>

#include "diff/common_pairs.h"

namespace diff {

// The passes the search keeps whole are at least this far apart.
inline constexpr std::uint64_t kMinCheckpointGap = 32;

struct SearchLimits {
  // Kept passes at least this far apart (>= 1); the gap after pass c is
  // the larger of it and c^(2/3). The result does not depend on it: a
  // small one only makes the walk back recompute more, shorter segments.
  std::uint64_t min_gap = kMinCheckpointGap;
  // The search gives up once its work passes this, checked at the end of
  // each pass. Its work is the diagonal steps it has taken, and for each
  // equal line it followed `followed_line_steps` more.
  std::uint64_t max_work = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t followed_line_steps = 0;
};

// How far a search that gave up had come, as of its last pass.
struct SearchProgress {
  std::int64_t passes = 0;
  std::uint64_t width = 0;  // diagonals in the last pass
  // The point of the last pass with the largest x + y inside the lists.
  std::int64_t furthest_x = 0;
  std::int64_t furthest_y = 0;
  std::uint64_t steps = 0;
  std::uint64_t work = 0;
};

// The pairs of the greedy search, each pass reaching the furthest point
// on each diagonal, and of its walk back over the lists as given: about
// (D + 1) (min(a, b) + 2) steps for an edit distance D, with a trace of
// about D^(4/3) entries of 4 bytes (8 past 2^31 lines). Nothing when it
// gave up, and then, when asked, how far it had come.
// REQUIRES: both lists non-empty.
std::optional<CommonPairs> diagonal_search(
    Lines left, Lines right, const SearchLimits& limits,
    SearchProgress* gave_up_at = nullptr);
std::optional<CommonPairs> diagonal_search(
    std::span<const std::uint32_t> left, std::span<const std::uint32_t> right,
    const SearchLimits& limits, SearchProgress* gave_up_at = nullptr);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
