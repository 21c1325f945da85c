// The comparison form of a line under the case and white-space options.
#ifndef VRELSDIFF_IO_UTILS_NORMALIZE_H_
#define VRELSDIFF_IO_UTILS_NORMALIZE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "io_utils/compare_options.h"

namespace io_utils {

std::string normalize_line(std::string_view line,
                           const CompareOptions& options);

// normalize_line for the common case, without a string of its own: when
// `line` is ASCII and tabs are not expanded, writes its comparison form to
// `out` and returns the form's length. Works on blocks of bytes, so it may
// read up to kAsciiLineSlack bytes past the end of `line` (their values do
// not matter), and `out` has room for line.size() + kAsciiLineSlack bytes;
// what lies past the form is unspecified. Returns nothing, and leaves `out`
// unspecified, for any other line, which needs normalize_line.
inline constexpr std::size_t kAsciiLineSlack = 16;
std::optional<std::size_t> normalize_ascii_line(std::string_view line,
                                                const CompareOptions& options,
                                                char* out);

// Every tab replaced by the spaces up to the next tab stop; a tab size of 0
// counts as 8. Columns count characters.
std::string expand_tabs(std::string_view text, std::uint64_t tabsize);

// No trailing white space, and every other run of white space one space.
std::string collapse_whitespace(std::string_view text);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_NORMALIZE_H_
