// UTF-8 validation, decoding and encoding.
#ifndef VRELSDIFF_IO_UTILS_UTF8_H_
#define VRELSDIFF_IO_UTILS_UTF8_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace io_utils {

// True iff `byte` continues a UTF-8 sequence (10xxxxxx) rather than starting
// a character.
constexpr bool is_continuation_byte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The number of characters (Unicode scalar values) of valid UTF-8 text: the
// bytes that are no continuation byte, found a word at a time.
std::size_t character_count(std::string_view text);

// The number of bytes below 0x80 at the start of `bytes`, found a word at a
// time.
std::size_t ascii_prefix_length(std::string_view bytes);

// True iff every byte is below 0x80.
bool is_ascii(std::string_view bytes);

// True iff `bytes` is well-formed UTF-8: no overlong form, no surrogate,
// nothing above U+10FFFF, no truncated sequence, no stray continuation byte.
bool is_valid_utf8(std::string_view bytes);

// Decodes the scalar value that starts at `pos` of valid UTF-8 text and
// advances `pos` past it. A malformed sequence gives U+FFFD and is stepped
// over without reading past the end of `text`.
// REQUIRES: pos < text.size().
char32_t decode_utf8(std::string_view text, std::size_t& pos);

// The longest UTF-8 encoding of a scalar value, in bytes.
inline constexpr std::size_t kMaxUtf8Length = 4;

// Writes the UTF-8 encoding of a scalar value to `out`, which has room for
// kMaxUtf8Length bytes, and returns its length.
std::size_t encode_utf8(char32_t c, char* out);

// Appends the UTF-8 encoding of a scalar value.
void append_utf8(std::string& out, char32_t c);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_UTF8_H_
