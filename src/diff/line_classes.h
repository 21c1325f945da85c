// Numbers for the lines of two lists, for searches that compare the same
// lines many times, and the lists without the lines that have no partner.
#ifndef VRELSDIFF_DIFF_LINE_CLASSES_H_
#define VRELSDIFF_DIFF_LINE_CLASSES_H_

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "diff/common_pairs.h"
#include "diff/line_hash.h"
#include "types/compare_line.h"

namespace diff {

// left[i] == right[j] exactly when left line i and right line j are equal
// by lines_equal (same length, same bytes). Numbers are compared only
// across the two sides: lines of the longer list that the shorter one
// lacks all share one number, kNoPartner, that no line of the shorter list
// has. Every other number is below `count`.
struct LineClasses {
  std::vector<std::uint32_t> left;
  std::vector<std::uint32_t> right;
  std::uint32_t count = 0;
};

inline constexpr std::uint32_t kNoPartner = 0xffff'ffff;

// On average a look-up in the table steps over fewer than two slots; lines
// made to collide in the hash would make it step over many. Numbering
// gives up once the slots stepped over pass this many per line, so that it
// stays linear whatever the input.
inline constexpr std::uint64_t kSlotsPerLine = 8;

struct NumberingLimits {
  std::uint64_t slots_per_line = kSlotsPerLine;
  HashKey key = run_hash_key();
};

// Linear in the number of lines, with memory for the longer list's numbers
// and a table of the shorter list's lines; nothing when the lines collide
// in the table more than the limits allow. REQUIRES: fewer than 2^32 - 1
// lines in the shorter list.
std::optional<LineClasses> line_classes(Lines left, Lines right,
                                        NumberingLimits limits = {});

// The lines of one list that equal some line of the other: their numbers,
// and where each stands in the whole list.
struct PartneredLines {
  std::vector<std::uint32_t> classes;
  std::vector<std::uint32_t> positions;
};

struct PartneredLists {
  PartneredLines left;
  PartneredLines right;
  std::uint32_t count = 0;  // every number is below it
};

// REQUIRES: fewer than 2^32 lines in each list.
PartneredLists partnered_lines(const LineClasses& classes);

// Runs of matched pairs of the partnered lists, as runs of the whole lists.
CommonPairs whole_list_pairs(const CommonPairs& partnered_runs,
                             const PartneredLists& lists);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LINE_CLASSES_H_
