// Numbers for the distinct lines of two lists, for searches that compare
// the same lines many times.
#ifndef VRELSDIFF_DIFF_LINE_CLASSES_H_
#define VRELSDIFF_DIFF_LINE_CLASSES_H_

#include <cstdint>
#include <vector>

#include "diff/common_pairs.h"
#include "types/compare_line.h"

namespace diff {

// left[i] == right[j] exactly when left line i and right line j are equal by
// lines_equal (same length, same bytes); likewise within one side.
struct LineClasses {
  std::vector<std::uint32_t> left;
  std::vector<std::uint32_t> right;
};

// REQUIRES: fewer than 2^32 lines in all.
LineClasses line_classes(Lines left, Lines right);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_LINE_CLASSES_H_
