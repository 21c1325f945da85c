#include "io_utils/normalize.h"

namespace io_utils {

std::string normalize_line(std::string_view line,
                           const CompareOptions& options) {
  (void)options;
  return std::string(line);  // TODO
}

std::string expand_tabs(std::string_view text, std::uint64_t tabsize) {
  (void)tabsize;
  return std::string(text);  // TODO
}

std::string collapse_whitespace(std::string_view text) {
  return std::string(text);  // TODO
}

}  // namespace io_utils
