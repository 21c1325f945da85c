#include "sdiff/render.h"

namespace sdiff {

ColumnGeometry column_geometry(std::uint64_t width, std::uint64_t tabsize,
                               bool expand_tabs) {
  (void)width;
  (void)tabsize;
  (void)expand_tabs;
  return {};  // TODO
}

std::uint64_t sdiff_print_half_line(std::string& out, std::string_view text,
                                    std::uint64_t bound, std::uint64_t tabsize,
                                    bool expand_tabs) {
  (void)out;
  (void)text;
  (void)bound;
  (void)tabsize;
  (void)expand_tabs;
  return 0;  // TODO
}

std::string format_sdiff_line_output(std::optional<std::string_view> left,
                                     char marker,
                                     std::optional<std::string_view> right,
                                     std::uint64_t half_width,
                                     std::uint64_t right_column_start,
                                     std::uint64_t tabsize, bool expand_tabs) {
  (void)left;
  (void)marker;
  (void)right;
  (void)half_width;
  (void)right_column_start;
  (void)tabsize;
  (void)expand_tabs;
  return {};  // TODO
}

}  // namespace sdiff
