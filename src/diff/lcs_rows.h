// Longest-common-subsequence lengths of two lists of line numbers, a row
// of bits at a time, and the walk over them.
#ifndef VRELSDIFF_DIFF_LCS_ROWS_H_
#define VRELSDIFF_DIFF_LCS_ROWS_H_

#include <cstddef>
#include <cstdint>
#include <span>

#include "diff/common_pairs.h"

namespace diff {

// The pairs of walk_lengths (lcs_walk.h), and so of the diagonal search,
// for lists of line numbers below `class_count` that are equal where the
// lines are. With s the shorter and t the longer length, whatever the edit
// distance, it takes t s / 64 word steps forward and recomputes, as the
// walk goes, the rows below the walk: half as many again where the walk
// keeps near the middle diagonal, up to as many again where it does not
// (two word steps each, as they also keep their carries). It keeps
// every `rows_per_block`-th row of s / 64 words, and the rows of one block
// with their carries: with the default, about sqrt(t / 2), that is
// 2 sqrt(2 t) s / 8 bytes (11 MB at 100,000 x 100,000 lines, 354 MB at
// 1,000,000 x 1,000,000), plus up to 32 s bytes of match masks.
// REQUIRES: both lists non-empty.
CommonPairs lcs_rows_common_pairs(std::span<const std::uint32_t> left,
                                  std::span<const std::uint32_t> right,
                                  std::uint32_t class_count,
                                  std::size_t rows_per_block = 0);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LCS_ROWS_H_
