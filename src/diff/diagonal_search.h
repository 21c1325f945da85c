// The matched lines of large inputs, by the greedy diagonal search.
#ifndef VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
#define VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_

#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// The lines left unchanged by a shortest script of line insertions and
// deletions, found by the greedy forward search over diagonals and a walk
// back over its trace. For an edit distance D the search takes at most
// about (D + 1) (min(a, b) + 2) steps, and the trace holds about D^(4/3)
// entries of 4 bytes (8 past 2^31 lines). A search that has taken as many
// steps as there are lines numbers them, 4 bytes per line and up to 32 per
// line of the shorter list while they are numbered; when no line is on both
// sides it ends there, with no pairs. The walk back costs little beside the
// search.
// REQUIRES: both lists non-empty.
CommonPairs myers_common_pairs(Lines left, Lines right);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
