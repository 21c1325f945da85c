// Bit-parallel rows of longest-common-subsequence lengths, after Allison
// and Dix, and Hyyro.
//
// The bits run over the shorter list, S, and the rows over the other, R.
// Bit j of row r is set when L(r, j + 1) = L(r, j), where L(r, c) is the
// length of a longest common subsequence of the first r lines of R and the
// first c lines of S; so L(r, c) is the number of clear bits below bit c.
// Row 0 is all ones. With M the bits of the lines of S equal to line r of
// R,
//   row r + 1 = (row r + (row r & M)) | (row r & ~M),
// an addition whose carries run from word to word. Bits above the last
// line of S take carries but never give any back, and nothing counts them.
//
// The carries of that addition say how the row differs from the one below:
// the carry into bit c is L(r + 1, c) - L(r, c). Take a run of set bits
// lo .. hi of row r that is clear at hi + 1, and m the lowest bit of the
// run in M. The sum is 0 at m, carries from m into every bit up to hi + 1
// and stops there, so row r + 1 has the run set but for a clear bit at m,
// and hi + 1 set: the run's clear bit has moved down from hi + 1 to m. A
// run with no bit in M changes nothing and carries nothing. So carries
// enter exactly the bits c from m + 1 to hi + 1, which are the bits below
// which row r + 1 has one clear bit more than row r. The spare bits above
// the last line start set, so the run that reaches them carries out of
// the row instead; that changes nothing at or below bit s, the one past
// the last line, which is why a row keeps at least one spare bit.
//
// So from a row's bits and its carries the walk reads the lengths around
// each point in constant time, and needs the rows last first. The forward
// pass keeps every K-th row; the walk recomputes the K rows of one block,
// with their carries, from the kept row below them when it enters the
// block.
#include "diff/lcs_rows.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "diff/lcs_walk.h"

namespace diff {
namespace {

using Word = std::uint64_t;
__extension__ using DoubleWord = unsigned __int128;
constexpr std::uint64_t kWordBits = 64;

std::size_t words_for(std::size_t bits) {
  return (bits + kWordBits - 1) / kWordBits;
}

// The bits of S equal to each line number. A number with many lines in S
// keeps a whole mask; the others are spread over a scratch mask while a
// row uses them, which costs two bit operations a line where a whole mask
// would cost a word for every word of the row. Masks are kept only for
// numbers with at least a quarter as many lines as the row has words,
// so they take at most 4 x 64 bits per line of S.
struct MatchMasks {
  static constexpr std::uint32_t kSpread =
      std::numeric_limits<std::uint32_t>::max();

  std::size_t words = 0;
  std::vector<std::uint32_t> first;      // per number: where its bits start
  std::vector<std::uint32_t> positions;  // the bits of S, grouped by number
  std::vector<std::uint32_t> whole;      // per number: its mask, or kSpread
  std::vector<Word> whole_masks;
  std::vector<Word> scratch;

  MatchMasks(std::span<const std::uint32_t> bit_lines,
             std::uint32_t class_count, std::size_t row_words)
      : words(row_words),
        first(std::size_t{class_count} + 1, 0),
        positions(bit_lines.size()),
        whole(class_count, kSpread),
        scratch(words, 0) {
    for (std::uint32_t c : bit_lines) ++first[c + 1];
    for (std::size_t c = 0; c < class_count; ++c) first[c + 1] += first[c];
    std::vector<std::uint32_t> next(first.begin(), first.end() - 1);
    for (std::size_t j = 0; j < bit_lines.size(); ++j) {
      positions[next[bit_lines[j]]++] = static_cast<std::uint32_t>(j);
    }
    const std::size_t many = std::max<std::size_t>(words / 4, 1);
    std::uint32_t masks = 0;
    for (std::uint32_t c = 0; c < class_count; ++c) {
      if (first[c + 1] - first[c] >= many)
        whole[c] = masks++;
    }
    whole_masks.assign(std::size_t{masks} * words, 0);
    for (std::uint32_t c = 0; c < class_count; ++c) {
      if (whole[c] != kSpread)
        spread(c, &whole_masks[std::size_t{whole[c]} * words]);
    }
  }

  std::span<const std::uint32_t> bits_of(std::uint32_t c) const {
    return std::span(positions).subspan(first[c], first[c + 1] - first[c]);
  }

  void spread(std::uint32_t c, Word* mask) const {
    for (std::uint32_t j : bits_of(c)) {
      mask[j / kWordBits] |= Word{1} << (j % kWordBits);
    }
  }

  // The mask of number c, valid until release(c).
  const Word* take(std::uint32_t c) {
    if (whole[c] != kSpread)
      return &whole_masks[std::size_t{whole[c]} * words];
    spread(c, scratch.data());
    return scratch.data();
  }

  void release(std::uint32_t c) {
    if (whole[c] != kSpread)
      return;
    for (std::uint32_t j : bits_of(c)) scratch[j / kWordBits] = 0;
  }
};

// Row r + 1 into `to` from row r in `from`. With `carries`, also the carry
// into each bit of the addition: bit c of them is L(r + 1, c) - L(r, c),
// for c up to the last line of S and one past it, which is why a row has a
// bit to spare. No two of the arrays overlap, and the loop is kept out of
// line, so that all it needs stays in registers.
template <bool kCarries>
[[gnu::noinline]] void advance_row(const Word* __restrict from,
                                   const Word* __restrict match,
                                   Word* __restrict to,
                                   Word* __restrict carries,
                                   std::size_t words) {
  Word carry = 0;
  for (std::size_t w = 0; w < words; ++w) {
    const Word row = from[w];
    const Word matched = row & match[w];
    // A double-width sum compiles to an add with carry, where comparisons
    // to find the carry would make a longer chain from word to word.
    const DoubleWord wide = DoubleWord{row} + matched + carry;
    const auto sum = static_cast<Word>(wide);
    carry = static_cast<Word>(wide >> kWordBits);
    to[w] = sum | (row ^ matched);
    if constexpr (kCarries) {
      carries[w] = sum ^ row ^ matched;
    }
  }
}

bool bit(const Word* bits, std::uint64_t j) {
  return (bits[j / kWordBits] >> (j % kWordBits)) & 1;
}

// The clear bits of `row` below bit `end`.
std::uint64_t clear_bits_below(const Word* row, std::uint64_t end) {
  std::uint64_t set = 0;
  for (std::uint64_t w = 0; w < end / kWordBits; ++w) {
    set += static_cast<std::uint64_t>(std::popcount(row[w]));
  }
  if (const std::uint64_t rest = end % kWordBits; rest > 0) {
    set += static_cast<std::uint64_t>(
        std::popcount(row[end / kWordBits] & ((Word{1} << rest) - 1)));
  }
  return end - set;
}

// Rows 0 .. t over the lines of R, every K-th one kept, and for the block
// of rows the walk stands in, each row with the carries that made it.
struct BitRows {
  std::span<const std::uint32_t> row_lines;
  MatchMasks masks;
  std::size_t words;
  std::size_t per_block;    // K
  std::vector<Word> kept;   // rows 0, K, 2K, ...
  std::vector<Word> block;  // rows base + 1 .. base + K, each with carries
  std::size_t base = std::numeric_limits<std::size_t>::max();

  BitRows(std::span<const std::uint32_t> rows_over,
          std::span<const std::uint32_t> bits_over, std::uint32_t class_count,
          std::size_t rows_per_block)
      : row_lines(rows_over),
        masks(bits_over, class_count, words_for(bits_over.size() + 1)),
        words(masks.words),
        per_block(rows_per_block),
        block(2 * rows_per_block * words) {
    const std::size_t t = row_lines.size();
    kept.resize((t / per_block + 1) * words);
    std::vector<Word> row(words, ~Word{0});
    std::vector<Word> next(words);
    std::copy_n(row.data(), words, kept.data());
    for (std::size_t r = 0; r < t; ++r) {
      advance_row<false>(row.data(), masks.take(row_lines[r]), next.data(),
                         nullptr, words);
      masks.release(row_lines[r]);
      std::swap(row, next);
      if ((r + 1) % per_block == 0) {
        std::copy_n(row.data(), words, &kept[(r + 1) / per_block * words]);
      }
    }
  }

  struct Row {
    const Word* bits;
    const Word* carries;
  };

  // Row r >= 1 at bits up to `high_bit`, recomputing its block from the
  // kept row below it when the walk enters the block. The walk's bit only
  // decreases, and carries run only upwards, so the words above the one
  // it enters at are never needed.
  Row row(std::size_t r, std::uint64_t high_bit) {
    if (r <= base || r > base + per_block) {
      base = (r - 1) / per_block * per_block;
      const std::size_t top = std::min(base + per_block, row_lines.size());
      const std::size_t needed = std::min<std::size_t>(
          words, static_cast<std::size_t>(high_bit / kWordBits + 1));
      const Word* from = &kept[base / per_block * words];
      for (std::size_t q = base; q < top; ++q) {
        Word* to = &block[2 * (q - base) * words];
        advance_row<true>(from, masks.take(row_lines[q]), to, to + words,
                          needed);
        masks.release(row_lines[q]);
        from = to;
      }
    }
    const Word* bits = &block[2 * (r - base - 1) * words];
    return {bits, bits + words};
  }
};

// The lengths around each point of the walk, from the bits and carries of
// the row it stands in. From one point to the next the length is known:
// the walk moves to a neighbour whose length it was given, or along a
// match, one less; only the first point counts the bits below it.
struct RowLengths {
  BitRows& rows;
  bool bits_over_left;
  std::uint64_t x = 0;
  std::uint64_t y = 0;
  std::optional<Around> last;

  Around around(std::uint64_t to_x, std::uint64_t to_y) {
    const std::uint64_t r = bits_over_left ? to_y : to_x;
    const std::uint64_t c = bits_over_left ? to_x : to_y;
    const BitRows::Row row = rows.row(r, c);
    std::uint64_t here;
    if (!last) {
      here = clear_bits_below(row.bits, c);
    } else if (to_x == x && to_y + 1 == y) {
      here = last->above;
    } else if (to_x + 1 == x && to_y == y) {
      here = last->left_of;
    } else {  // along a match
      here = last->here - 1;
    }
    x = to_x;
    y = to_y;
    // L(r, c - 1) is one less unless bit c - 1 of row r is set, and
    // L(r - 1, c) one less when a carry entered bit c.
    const std::uint64_t along = here - (bit(row.bits, c - 1) ? 0 : 1);
    const std::uint64_t across = here - (bit(row.carries, c) ? 1 : 0);
    last = bits_over_left
               ? Around{.here = here, .above = across, .left_of = along}
               : Around{.here = here, .above = along, .left_of = across};
    return *last;
  }
};

}  // namespace

CommonPairs lcs_rows_common_pairs(std::span<const std::uint32_t> left,
                                  std::span<const std::uint32_t> right,
                                  std::uint32_t class_count,
                                  std::size_t rows_per_block) {
  const bool bits_over_left = left.size() < right.size();
  const std::span<const std::uint32_t> rows_over =
      bits_over_left ? right : left;
  if (rows_per_block == 0) {
    // Kept rows t / K, block rows 2 K: least memory at K = sqrt(t / 2).
    rows_per_block = std::max<std::size_t>(
        1, static_cast<std::size_t>(std::ceil(
               std::sqrt(static_cast<double>(rows_over.size()) / 2))));
  }
  BitRows rows(rows_over, bits_over_left ? left : right, class_count,
               rows_per_block);
  RowLengths lengths{rows, bits_over_left};
  return walk_lengths(left.size(), right.size(), lengths);
}

}  // namespace diff
