#include "io_utils/utf8.h"

namespace io_utils {

bool is_valid_utf8(std::string_view bytes) {
  (void)bytes;
  return true;  // TODO
}

char32_t decode_utf8(std::string_view text, std::size_t& pos) {
  return static_cast<unsigned char>(text[pos++]);  // TODO
}

void append_utf8(std::string& out, char32_t c) {
  out.push_back(static_cast<char>(c));  // TODO
}

}  // namespace io_utils
