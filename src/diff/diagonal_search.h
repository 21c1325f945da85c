// The matched lines of large inputs, by the greedy diagonal search.
#ifndef VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
#define VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_

#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// The lines left unchanged by a shortest script of line insertions and
// deletions: the pairs of the greedy forward search over diagonals and its
// walk back. The search runs on the lines as they are while it is short:
// about (D + 1) (min(a, b) + 2) steps for an edit distance D, with a trace
// of about D^(4/3) entries of 4 bytes (8 past 2^31 lines). Once it has
// taken as many steps as there are lines, the lines are numbered (a keyed
// hash of each, 4 bytes a line and up to 32 a line of the shorter list),
// the lines with no equal line on the other side are dropped, and the
// search starts again on the numbers of the rest, a' and b' of them. Where
// its work would pass a' b' / 64, the word steps of the bit-parallel rows
// (lcs_rows.h), the rows give the same pairs instead, in about 1.5 times
// that many word steps; so the two together cost at most about twice the
// cheaper of them.
// REQUIRES: both lists non-empty.
CommonPairs myers_common_pairs(Lines left, Lines right);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_DIAGONAL_SEARCH_H_
