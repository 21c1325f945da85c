// The comparison form of a line under the case and white-space options.
#ifndef VRELSDIFF_IO_UTILS_NORMALIZE_H_
#define VRELSDIFF_IO_UTILS_NORMALIZE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "io_utils/compare_options.h"

namespace io_utils {

std::string normalize_line(std::string_view line,
                           const CompareOptions& options);

// True when normalize_line(line, options) is certainly `line` itself: a
// quick look at ASCII lines that spares most lines a form of their own.
// False says nothing either way.
bool normalization_keeps(std::string_view line, const CompareOptions& options);

// Every tab replaced by the spaces up to the next tab stop; a tab size of 0
// counts as 8. Columns count characters.
std::string expand_tabs(std::string_view text, std::uint64_t tabsize);

// No trailing white space, and every other run of white space one space.
std::string collapse_whitespace(std::string_view text);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_NORMALIZE_H_
