// Column geometry and the rendering of one side-by-side row.
#ifndef VRELSDIFF_SDIFF_RENDER_H_
#define VRELSDIFF_SDIFF_RENDER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sdiff {

// Computed once per run; the marker column lies between the two halves,
// at (half_width + right_column_start - 1) / 2.
struct ColumnGeometry {
  std::uint64_t half_width = 0;          // columns either text may fill
  std::uint64_t right_column_start = 0;  // where the right text begins
};

// Every tab stop of the layout is a multiple of the tab size (1 with
// expand_tabs); a tab size of 0 counts as 1. half_width is 0 when the width
// leaves no room for two halves, and right_column_start is then the width.
ColumnGeometry column_geometry(std::uint64_t width, std::uint64_t tabsize,
                               bool expand_tabs);

// Appends `text` cut at column `bound` and returns the column reached. Each
// Unicode scalar value other than a tab is one column; a character is
// written whole or not at all, and nothing after the first dropped one.
std::uint64_t sdiff_print_half_line(std::string& out, std::string_view text,
                                    std::uint64_t bound, std::uint64_t tabsize,
                                    bool expand_tabs);

// One row without its line end. The marker ' ' writes nothing; an absent
// and an empty right text both leave nothing after the marker.
std::string format_sdiff_line_output(std::optional<std::string_view> left,
                                     char marker,
                                     std::optional<std::string_view> right,
                                     std::uint64_t half_width,
                                     std::uint64_t right_column_start,
                                     std::uint64_t tabsize, bool expand_tabs);

// format_sdiff_line_output appended to `row`, so that a caller rendering
// many rows can keep one buffer for all of them.
void append_sdiff_line_output(std::string& row,
                              std::optional<std::string_view> left, char marker,
                              std::optional<std::string_view> right,
                              std::uint64_t half_width,
                              std::uint64_t right_column_start,
                              std::uint64_t tabsize, bool expand_tabs);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_RENDER_H_
