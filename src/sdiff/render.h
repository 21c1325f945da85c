// Column geometry and the rendering of one side-by-side row.
#ifndef VRELSDIFF_SDIFF_RENDER_H_
#define VRELSDIFF_SDIFF_RENDER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sdiff {

struct ColumnGeometry {
  std::uint64_t half_width = 0;          // columns either text may fill
  std::uint64_t right_column_start = 0;  // where the right text begins
};

ColumnGeometry column_geometry(std::uint64_t width, std::uint64_t tabsize,
                               bool expand_tabs);

// Appends `text` cut at column `bound` and returns the column reached.
std::uint64_t sdiff_print_half_line(std::string& out, std::string_view text,
                                    std::uint64_t bound, std::uint64_t tabsize,
                                    bool expand_tabs);

// One row without its line end. The marker ' ' writes nothing.
std::string format_sdiff_line_output(std::optional<std::string_view> left,
                                     char marker,
                                     std::optional<std::string_view> right,
                                     std::uint64_t half_width,
                                     std::uint64_t right_column_start,
                                     std::uint64_t tabsize, bool expand_tabs);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_RENDER_H_
