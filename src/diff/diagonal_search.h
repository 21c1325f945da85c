// The matched lines of large inputs, by the greedy diagonal search.
#ifndef VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
#define VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_

#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// REQUIRES: both lists non-empty.
CommonPairs myers_common_pairs(const std::vector<types::CompareLine>& left,
                               const std::vector<types::CompareLine>& right);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
