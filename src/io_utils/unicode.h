// The white-space set and the lower-casing rule shared by the comparison,
// the merge commands and the language choice.
#ifndef VRELSDIFF_IO_UTILS_UNICODE_H_
#define VRELSDIFF_IO_UTILS_UNICODE_H_

#include <string>
#include <string_view>

namespace io_utils {

// The 25 characters of the Unicode White_Space property.
bool is_whitespace(char32_t c);

// True iff `text` (valid UTF-8) is empty or holds only white space.
bool is_blank(std::string_view text);

// `text` (valid UTF-8) without the white space at both ends.
std::string_view trim_whitespace(std::string_view text);

// `text` (valid UTF-8) without the white space at its end.
std::string_view trim_trailing_whitespace(std::string_view text);

// Full Unicode lowercase mapping of valid UTF-8 text, with the Final_Sigma
// condition and no locale tailoring.
std::string to_lowercase(std::string_view text);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_UNICODE_H_
