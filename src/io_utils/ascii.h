// ASCII case and white space, a byte or eight bytes at a time.
#ifndef VRELSDIFF_IO_UTILS_ASCII_H_
#define VRELSDIFF_IO_UTILS_ASCII_H_

#include <cstdint>

namespace io_utils {

inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The number of bytes of a word whose high bit is set, given the word with
// every other bit clear: the multiplication adds the eight bits up in the
// top byte.
inline std::uint64_t count_high_bits(std::uint64_t marks) {
  return ((marks >> 7) * 0x0101010101010101ULL) >> 56;
}

inline char ascii_lower(char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + ('a' - 'A'))
                                    : byte;
}

// Lower-cases eight bytes at once: each byte from 'A' to 'Z' gets its 0x20
// bit set. Only the bytes below the first one at or above 0x80 come out
// right; carries out of that byte spoil the ones after it.
inline std::uint64_t lowercase_ascii_word(std::uint64_t word) {
  const std::uint64_t at_least_a = word + 0x3F3F3F3F3F3F3F3FULL;  // 0x80 - 'A'
  const std::uint64_t above_z = word + 0x2525252525252525ULL;  // 0x80 - 'Z' - 1
  const std::uint64_t upper = at_least_a & ~above_z & kHighBits;
  return word | (upper >> 2);
}

// The white space of ASCII: the tab, "\n" to "\r", and the space.
inline bool is_ascii_whitespace(char byte) {
  return byte == ' ' || static_cast<unsigned char>(byte - '\t') < 5;
}

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_ASCII_H_
