// Numbers for the lines of two lists, for searches that compare the same
// lines many times.
#ifndef VRELSDIFF_DIFF_LINE_CLASSES_H_
#define VRELSDIFF_DIFF_LINE_CLASSES_H_

#include <cstdint>
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

// Linear in the number of lines, with memory for the longer list's numbers
// and a table of the shorter list's lines. REQUIRES: fewer than 2^32 - 1
// lines in the shorter list.
LineClasses line_classes(Lines left, Lines right);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LINE_CLASSES_H_
