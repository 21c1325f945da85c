// Text shown in failure messages: code points by name, bytes in hex, so
// that invisible and malformed characters can be told apart.
#ifndef VRELSDIFF_TESTS_IO_UTILS_PRINTABLE_H_
#define VRELSDIFF_TESTS_IO_UTILS_PRINTABLE_H_

#include <cstdio>
#include <string>
#include <string_view>

namespace io_utils::test {

// "U+00E9": names a failing code point (char32_t has no stream output).
inline std::string code_point_name(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

// "C3 A9 ": every byte of `text` in hex.
inline std::string hex_bytes(std::string_view text) {
  std::string out;
  char byte[4];
  for (char ch : text) {
    std::snprintf(byte, sizeof byte, "%02X ",
                  static_cast<unsigned>(static_cast<unsigned char>(ch)));
    out += byte;
  }
  return out;
}

}  // namespace io_utils::test

#endif  // VRELSDIFF_TESTS_IO_UTILS_PRINTABLE_H_
