// Numbers for the lines of two lists, for searches that compare the same
// lines many times.
#ifndef VRELSDIFF_DIFF_LINE_CLASSES_H_
#define VRELSDIFF_DIFF_LINE_CLASSES_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// left[i] == right[j] exactly when left line i and right line j are equal
// by lines_equal (same length, same bytes). Numbers are compared only
// across the two sides: lines of the longer list that the shorter one
// lacks all share one number that no line of the shorter list has.
struct LineClasses {
  std::vector<std::uint32_t> left;
  std::vector<std::uint32_t> right;
  bool shared = false;  // some left line equals some right line
};

// On average a look-up in the table steps over fewer than two slots; lines
// made to collide in the hash would make it step over many. Numbering
// gives up once the slots stepped over pass this many per line, so that it
// stays linear whatever the input.
inline constexpr std::uint64_t kSlotsPerLine = 8;

// Linear in the number of lines, with memory for the longer list's numbers
// and a table of the shorter list's lines; nothing when the lines collide
// in the table more than `slots_per_line` allows. REQUIRES: fewer than
// 2^32 - 1 lines in the shorter list.
std::optional<LineClasses> line_classes(
    Lines left, Lines right, std::uint64_t slots_per_line = kSlotsPerLine);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LINE_CLASSES_H_
