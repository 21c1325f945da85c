// Fuzz target: the column layout and the rendering of one row, over widths,
// tab sizes, both tab modes, every marker and any line texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "io_utils/utf8.h"
#include "sdiff/render.h"

namespace {

constexpr std::size_t kMaxInput = 4096;

void require(bool condition) {
  if (!condition)
    std::abort();
}

// The column a terminal reaches after `text` from column `start`: a tab
// moves to the next multiple of the tab size, every other character takes
// one column.
std::uint64_t columns_after(std::string_view text, std::uint64_t start,
                            std::uint64_t tabsize) {
  std::uint64_t column = start;
  for (std::size_t pos = 0; pos < text.size();) {
    if (io_utils::decode_utf8(text, pos) == '\t') {
      column += tabsize - column % tabsize;
    } else {
      ++column;
    }
  }
  return column;
}

std::optional<std::string> take_text(FuzzedDataProvider& provider) {
  if (!provider.ConsumeBool())
    return std::nullopt;
  return provider.ConsumeRandomLengthString(600);
}

bool usable(const std::optional<std::string>& text) {
  return !text || (io_utils::is_valid_utf8(*text) &&
                   text->find('\n') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size > kMaxInput)
    return 0;
  FuzzedDataProvider provider(data, size);
  const auto width = provider.ConsumeIntegralInRange<std::uint64_t>(20, 500);
  const auto tabsize = provider.ConsumeIntegralInRange<std::uint64_t>(1, 32);
  const bool expand_tabs = provider.ConsumeBool();
  const char marker = " |<>("[provider.ConsumeIntegralInRange<int>(0, 4)];
  const std::optional<std::string> left = take_text(provider);
  const std::optional<std::string> right = take_text(provider);
  if (!usable(left) || !usable(right))
    return 0;

  const sdiff::ColumnGeometry geometry =
      sdiff::column_geometry(width, tabsize, expand_tabs);
  const std::uint64_t half = geometry.half_width;
  const std::uint64_t start = geometry.right_column_start;
  const std::uint64_t marker_column = (half + start - 1) / 2;
  if (half == 0) {
    require(start == width);
  } else {
    // Both halves fit, the marker lies between them with a blank column on
    // either side, and the right text starts on a tab stop.
    require(half + 3 <= start);
    require(start + half <= width);
    require(half < marker_column && marker_column + 1 < start);
    require(expand_tabs || start % tabsize == 0);
  }

  const std::string row = sdiff::format_sdiff_line_output(
      left, marker, right, half, start, tabsize, expand_tabs);
  require(io_utils::is_valid_utf8(row));
  require(row.find('\n') == std::string::npos);
  require(!expand_tabs || row.find('\t') == std::string::npos);
  require(columns_after(row, 0, tabsize) <= width);

  // The row begins with the left text alone, cut; the marker, if any, is
  // the first thing after the fill and sits on its column.
  const std::string left_part = sdiff::format_sdiff_line_output(
      left, ' ', std::nullopt, half, start, tabsize, expand_tabs);
  require(columns_after(left_part, 0, tabsize) <= half);
  require(row.compare(0, left_part.size(), left_part) == 0);
  const std::size_t after_fill = row.find_first_not_of(" \t", left_part.size());
  if (marker != ' ') {
    require(after_fill != std::string::npos && row[after_fill] == marker);
    require(columns_after(std::string_view(row).substr(0, after_fill), 0,
                          tabsize) == marker_column);
  }

  // The right text, cut alone, ends the row and starts on its column; with
  // no right text the row ends at the marker.
  if (!right || right->empty()) {
    require(marker == ' ' ? row == left_part : after_fill + 1 == row.size());
    return 0;
  }
  std::string right_part;
  sdiff::sdiff_print_half_line(right_part, *right, half, tabsize, expand_tabs);
  require(row.size() >= right_part.size() && row.ends_with(right_part));
  const std::string_view before_right =
      std::string_view(row).substr(0, row.size() - right_part.size());
  require(columns_after(before_right, 0, tabsize) == start);
  require(columns_after(right_part, start, tabsize) <= start + half);
  return 0;
}
