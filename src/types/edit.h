// Edit: one difference of the edit script.
#ifndef VRELSDIFF_TYPES_EDIT_H_
#define VRELSDIFF_TYPES_EDIT_H_

#include <cstdint>
#include <span>

#include "types/compare_line.h"

namespace types {

enum class EditKind : std::uint8_t {
  Insert,  // lines only in the right file
  Delete,  // lines only in the left file
  Change,  // a run of left lines replaced by a run of right lines
};

// Line numbers are 1-based and inclusive on a side that has lines; on the
// empty side of an Insert or Delete both hold the number of that side's
// lines before the change.
//
// The covered lines are views of the compared lists, not copies: an edit is
// valid for as long as those lists are. What an edit shows of a line is its
// `text`, never its comparison form.
struct Edit {
  std::span<const CompareLine> left_lines;
  std::span<const CompareLine> right_lines;
  std::uint64_t left_start = 0;
  std::uint64_t left_end = 0;
  std::uint64_t right_start = 0;
  std::uint64_t right_end = 0;
  EditKind kind = EditKind::Change;
};

}  // namespace types

#endif  // VRELSDIFF_TYPES_EDIT_H_
