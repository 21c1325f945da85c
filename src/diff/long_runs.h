// Long runs of lines that both lists hold: where the search, once it gets
// there, follows equal lines at little cost.
#ifndef VRELSDIFF_DIFF_LONG_RUNS_H_
#define VRELSDIFF_DIFF_LONG_RUNS_H_

#include <cstdint>
#include <span>

namespace diff {

// Runs at least this long count.
inline constexpr std::uint64_t kLongRun = 32;

// The lines of each list that lie in a run of kLongRun lines that is also,
// line for line, a run of the other list on a diagonal (left start less
// right start) from `low_diagonal` to `high_diagonal`: in all, and before
// a given line.
struct LongRunLines {
  std::uint64_t left = 0;
  std::uint64_t left_before = 0;
  std::uint64_t right = 0;
  std::uint64_t right_before = 0;
};

// Runs are compared by a hash of their line numbers, and a right run that
// occurs several times is placed at its first occurrence, so the counts
// can be off: they serve to judge costs, never to match lines. Linear in
// the lines, with 24 bytes of table a right line.
LongRunLines lines_in_long_common_runs(std::span<const std::uint32_t> left,
                                       std::span<const std::uint32_t> right,
                                       std::uint64_t left_before,
                                       std::uint64_t right_before,
                                       std::int64_t low_diagonal,
                                       std::int64_t high_diagonal);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LONG_RUNS_H_
