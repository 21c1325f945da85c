// The walk over the lengths of longest common subsequences that picks
// exactly the pairs of the greedy diagonal search.
//
// Let L(x, y) be the length of a longest common subsequence of the first x
// left and the first y right lines. From (x, y) = (a, b), while x > 0 and
// y > 0, the walk takes the first rule that applies:
//   1. L(x, y - 1) = L(x, y): y -= 1 (right line y - 1 stays unmatched);
//   2. L(x - 1, y) = L(x, y): x -= 1 (left line x - 1 stays unmatched);
//   3. otherwise left line x - 1 equals right line y - 1 (if they differed,
//      L(x, y) would be the larger of the two lengths above): match them,
//      x -= 1, y -= 1.
// Its pairs, last first, are those of the diagonal search's walk back over
// its whole trace, ties included.
//
// Why. D(x, y) = x + y - 2 L(x, y) is the fewest insertions and deletions
// that reach (x, y) from (0, 0), and D never decreases along a diagonal:
// L grows by at most 1 when x and y both do. Pass d of the search reaches
// on diagonal k, among the points inside the lists, the largest x with
// D(x, x - k) <= d. By induction on d: such a point is reached by a script
// whose last insertion or deletion leaves a point of cost at most d - 1 on
// diagonal k - 1 or k + 1, and only equal lines follow it. Pass d - 1
// reached that diagonal at least as far, so the step from its furthest
// point lands on diagonal k at or past the script's landing point; and
// equal lines followed from a later start on one diagonal end no earlier,
// since a start inside a run of equal lines follows it to its end. Every
// point the search reaches costs at most d, so it lands on no point
// beyond. (Points outside the lists can be stored too, but the walk back
// never reads them; see diagonal_search.cc.) The walk back
// stands in pass d on a point of cost exactly d: it ends pass D on (a, b),
// and it steps from a point of cost d onto one of cost at most d - 1, at
// least d - 1 since one step adds at most 1. Along the run of equal lines
// it walks down, L and x + y both change by 2 per line in D's formula, so
// the cost stays d. The run began where the search's step landed: the
// first point of the run, walking back, with a neighbour of cost d - 1
// above it (y - 1, diagonal k + 1) or to its left (x - 1, diagonal k - 1).
// A later point with such a neighbour would have put the search's
// furthest point of pass d - 1 on that neighbour's diagonal at or past it,
// and the step, which starts from the further of the two, would have
// landed at or past that later point. On the outermost diagonals, k = d or
// -d, the missing neighbour would have cost at least d + 1, so nothing is
// lost there. Where both neighbours have cost d - 1, both starts land on
// the same point, so the entry of k - 1 is one less than that of k + 1:
// "less than" holds and the search stepped down, from the neighbour above.
// Last, since L(x, y - 1) is L(x, y) or one less, D(x, y - 1) = d - 1
// exactly when L(x, y - 1) = L(x, y), and likewise for x - 1. So rule 1 is
// "the neighbour above has cost d - 1" (ties go to it), rule 2 the same
// for the neighbour to the left, and rule 3 a point inside the run, where
// both neighbours cost d + 1 and the lines are equal. The search's walk
// back records pairs only inside the rectangle, as the rules do, and
// records none once x = 0 or y = 0.
//
// Two consequences.
// (1) The walk reads nothing but L, so any exact way of computing L gives
//     the same pairs: the rows of bit-parallel longest common subsequence
//     lengths (lcs_rows.h) do.
// (2) Lines that equal no line of the other list can be dropped before
//     the search: the walk over the shorter lists, mapped back, makes the
//     same pairs. Such a line is in no common subsequence, so L of the
//     whole lists at (x, y) is L' of the shorter lists at (x', y'), the
//     kept lines among the first x and y. At (x, y) the whole walk
//     - steps over an unpartnered right line y - 1 at once, by rule 1,
//       and stays at (x', y');
//     - else, when left line x - 1 is unpartnered, takes rule 1 exactly
//       when L'(x', y' - 1) = L'(x', y'), which is the shorter walk's
//       rule 1 at (x', y'), and otherwise steps over the left line by rule
//       2 and stays at (x', y');
//     - else, both lines kept, tests what the shorter walk tests at
//       (x', y') and moves as it does, matching the same lines.
//     A match needs both lines kept, so once the shorter walk has ended
//     (x' = 0 or y' = 0) the whole one matches nothing more.
#ifndef VRELSDIFF_DIFF_LCS_WALK_H_
#define VRELSDIFF_DIFF_LCS_WALK_H_

#include <algorithm>
#include <cstdint>

#include "diff/common_pairs.h"

namespace diff {

enum class WalkStep { kSkipRight, kSkipLeft, kMatch };

// L(x, y), L(x, y - 1) and L(x - 1, y).
struct Around {
  std::uint64_t here = 0;
  std::uint64_t above = 0;
  std::uint64_t left_of = 0;
};

// The walk's rule at one point.
inline WalkStep walk_step(const Around& lengths) {
  if (lengths.above == lengths.here)
    return WalkStep::kSkipRight;
  if (lengths.left_of == lengths.here)
    return WalkStep::kSkipLeft;
  return WalkStep::kMatch;
}

// The walk from (a, b), asking `lengths.around(x, y)` at each point it
// stands on, in the order it visits them; x and y never grow, and the next
// point is the one above, the one to the left or the one diagonally above
// and to the left, so a source of lengths may keep count as it goes.
template <typename Lengths>
CommonPairs walk_lengths(std::uint64_t a, std::uint64_t b, Lengths& lengths) {
  CommonPairs runs;  // last first
  std::uint64_t x = a;
  std::uint64_t y = b;
  while (x > 0 && y > 0) {
    switch (walk_step(lengths.around(x, y))) {
      case WalkStep::kSkipRight:
        --y;
        break;
      case WalkStep::kSkipLeft:
        --x;
        break;
      case WalkStep::kMatch:
        --x;
        --y;
        if (!runs.empty() && runs.back().left == x + 1 &&
            runs.back().right == y + 1) {
          runs.back() = {
              .left = x, .right = y, .length = runs.back().length + 1};
        } else {
          runs.push_back({.left = x, .right = y, .length = 1});
        }
        break;
    }
  }
  std::reverse(runs.begin(), runs.end());
  return runs;
}

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LCS_WALK_H_
