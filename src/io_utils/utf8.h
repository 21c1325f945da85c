// UTF-8 validation and decoding.
#ifndef VRELSDIFF_IO_UTILS_UTF8_H_
#define VRELSDIFF_IO_UTILS_UTF8_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace io_utils {

// True iff `bytes` is well-formed UTF-8: no overlong form, no surrogate,
// nothing above U+10FFFF, no truncated sequence, no stray continuation byte.
bool is_valid_utf8(std::string_view bytes);

// Decodes the scalar value that starts at `pos` of valid UTF-8 text and
// advances `pos` past it. A malformed sequence gives U+FFFD and is stepped
// over without reading past the end of `text`.
// REQUIRES: pos < text.size().
char32_t decode_utf8(std::string_view text, std::size_t& pos);

// Appends the UTF-8 encoding of a scalar value.
void append_utf8(std::string& out, char32_t c);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_UTF8_H_
