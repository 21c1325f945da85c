#include "io_utils/unicode.h"

namespace io_utils {

bool is_whitespace(char32_t c) {
  return c == ' ' || (c >= 9 && c <= 13);  // TODO
}

bool is_blank(std::string_view text) {
  (void)text;
  return false;  // TODO
}

std::string_view trim_whitespace(std::string_view text) {
  return text;  // TODO
}

std::string to_lowercase(std::string_view text) {
  return std::string(text);  // TODO
}

}  // namespace io_utils
