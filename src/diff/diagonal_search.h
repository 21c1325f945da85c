// The matched lines of large inputs, by the greedy diagonal search.
#ifndef VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
#define VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_

#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// The lines left unchanged by a shortest script of line insertions and
// deletions, found by the greedy forward search over diagonals and a walk
// back over its trace. Memory grows with D^(4/3) for an edit distance D,
// and the walk back costs little beside the search.
// REQUIRES: both lists non-empty.
CommonPairs myers_common_pairs(const std::vector<types::CompareLine>& left,
                               const std::vector<types::CompareLine>& right);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
