// The matched lines of large inputs, by the greedy diagonal search.
#ifndef VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
#define VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_

#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// The lines left unchanged by a shortest script of line insertions and
// deletions, found by the greedy forward search over diagonals and a walk
// back over its trace. For an edit distance D the trace holds about
// D^(4/3) entries of 4 bytes (8 past 2^31 lines), and a search of more than
// sqrt(2 (a + b)) passes adds 4 bytes per line for line numbers (24 more
// while they are sorted); the walk back costs little beside the search.
// REQUIRES: both lists non-empty.
CommonPairs myers_common_pairs(Lines left, Lines right);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
