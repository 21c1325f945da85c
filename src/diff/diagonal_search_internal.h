// The diagonal search with a chosen spacing of its kept passes; for tests.
#ifndef VRELSDIFF_DIFF_DIAGONAL_SEARCH_INTERNAL_H_
#define VRELSDIFF_DIFF_DIAGONAL_SEARCH_INTERNAL_H_

#include <cstdint>
#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// The passes myers_common_pairs keeps whole are at least this far apart.
inline constexpr std::uint64_t kMinCheckpointGap = 32;

// myers_common_pairs with kept passes at least `min_gap` (>= 1) apart; the
// gap after pass c is the larger of `min_gap` and c^(2/3). The result does
// not depend on `min_gap`: a small one only makes the walk back recompute
// more, shorter segments.
CommonPairs myers_common_pairs_with_gap(Lines left, Lines right,
                                        std::uint64_t min_gap);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_DIAGONAL_SEARCH_INTERNAL_H_
