// The matched lines of small inputs, by a full longest-common-subsequence table.
#ifndef VRELSDIFF_DIFF_LCS_H_
#define VRELSDIFF_DIFF_LCS_H_

#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// REQUIRES: both lists non-empty.
CommonPairs lcs_common_pairs(const std::vector<types::CompareLine>& left,
                             const std::vector<types::CompareLine>& right);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LCS_H_
