// The matched lines of small inputs, by a full longest-common-subsequence
// table.
#ifndef VRELSDIFF_DIFF_LCS_H_
#define VRELSDIFF_DIFF_LCS_H_

#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// A longest common subsequence, chosen by a walk back from the ends that
// takes equal lines as soon as it meets them and, on a tie, leaves the left
// line unmatched.
// REQUIRES: both lists non-empty; the table holds (a + 1) x (b + 1) 32-bit
// cells, so callers keep a x b small.
CommonPairs lcs_common_pairs(Lines left, Lines right);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LCS_H_
