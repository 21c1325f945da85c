// Pairs of inputs that differ in many places, as lists of lines: what users
// compare every day besides near-copies.
#ifndef VRELSDIFF_BENCH_SUPPORT_MANY_CHANGES_H_
#define VRELSDIFF_BENCH_SUPPORT_MANY_CHANGES_H_

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

struct LinePair {
  std::vector<std::string> left;
  std::vector<std::string> right;
};

// A CSV export of `rows` records and the same with half of them, at seeded
// places, replaced by new records.
LinePair csv_half_replaced(std::size_t rows);

// Two files of `lines` unrelated records each, with one line on both sides.
LinePair unrelated_sharing_one_line(std::size_t lines);

// `lines` lines drawn from a vocabulary of 2,000, and the same with a fifth
// of them replaced by other vocabulary lines: no line is on one side only.
LinePair vocabulary_lines(std::size_t lines);

// "a", "b" and "c" drawn at random, `lines` on each side.
LinePair random_abc(std::size_t lines);

// The numbers 1 to n against the same in reverse order.
LinePair reversed_numbers(std::size_t n);

// `top` lines of "p" and "q" drawn at random on each side, above the same
// `rest` lines on both sides.
LinePair differing_top(std::size_t top, std::size_t rest);

// `lines` distinct lines and the same with its two halves swapped.
LinePair halves_swapped(std::size_t lines);

// `lines` lines of words and the same with `edits` of them, at seeded
// places, changed, followed by a new line, or deleted, in turn.
LinePair scattered_edits(std::size_t lines, std::size_t edits);

}  // namespace bench

#endif  // VRELSDIFF_BENCH_SUPPORT_MANY_CHANGES_H_
