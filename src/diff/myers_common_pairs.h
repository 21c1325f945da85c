// The matched lines of large inputs: the pairs of the greedy diagonal
// search, found by the search or by ways that give the same pairs faster.
#ifndef VRELSDIFF_DIFF_MYERS_COMMON_PAIRS_H_
#define VRELSDIFF_DIFF_MYERS_COMMON_PAIRS_H_

#include <cstddef>
#include <cstdint>

#include "diff/common_pairs.h"
#include "diff/diagonal_search.h"
#include "diff/line_classes.h"

namespace diff {

// The lines left unchanged by a shortest script of line insertions and
// deletions: the pairs of the greedy diagonal search and its walk back
// (diagonal_search.h). The search runs on the lines as they are while it
// is short. Once it has taken as many steps as there are lines, the lines
// are numbered (a keyed hash of each, 4 bytes a line and up to 32 a line
// of the shorter list), the lines with no equal line on the other side
// are dropped, and the search starts again on the numbers of the rest, a'
// and b' of them. Where its work would pass a' b' / 64, the word steps of
// the bit-parallel rows (lcs_rows.h), the rows give the same pairs
// instead, at one and a half to two times that many word steps.
// REQUIRES: both lists non-empty.
CommonPairs myers_common_pairs(Lines left, Lines right);

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

// How myers_common_pairs_with found its pairs.
enum class FoundBy { kSearchOnRecords, kSearchOnNumbers, kRows };

// myers_common_pairs by `plan`; every plan gives the same pairs. For
// tests, which may also ask which way found them.
CommonPairs myers_common_pairs_with(Lines left, Lines right,
                                    const SearchPlan& plan,
                                    FoundBy* found_by = nullptr);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_MYERS_COMMON_PAIRS_H_
