// CompareLine: one input line as the comparison sees it.
#ifndef VRELSDIFF_TYPES_COMPARE_LINE_H_
#define VRELSDIFF_TYPES_COMPARE_LINE_H_

#include <cstdint>
#include <string_view>

namespace types {

// The texts are views into storage that the list holding the record owns
// (see io_utils::CompareLines), so a record is as valid as its list.
struct CompareLine {
  std::string_view text;        // the line as read, without its line end
  std::string_view normalized;  // its comparison form; the only field compared
  std::uint64_t line_number = 0;  // 1-based position in its file
};

}  // namespace types

#endif  // VRELSDIFF_TYPES_COMPARE_LINE_H_
