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
// lines are. With s the shorter and t the longer length it takes about
// 2 t s / 64 word steps whatever the edit distance, and keeps every
// `rows_per_block`-th row of s / 64 words and the rows of one block:
// with the default, about sqrt(t), that is 2 sqrt(t) s / 8 bytes, plus
// up to 32 s bytes of match masks and 8 (s + t) bytes of indices.
// REQUIRES: both lists non-empty.
CommonPairs lcs_rows_common_pairs(std::span<const std::uint32_t> left,
                                  std::span<const std::uint32_t> right,
                                  std::uint32_t class_count,
                                  std::size_t rows_per_block = 0);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LCS_ROWS_H_
