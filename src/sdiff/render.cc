// Laying out a row: the two cut texts, the fills between them and the marker.
#include "sdiff/render.h"

#include <algorithm>

#include "io_utils/utf8.h"

namespace sdiff {
namespace {

std::uint64_t effective_tabsize(std::uint64_t tabsize) {
  return tabsize == 0 ? 1 : tabsize;
}

std::uint64_t next_tab_stop(std::uint64_t column, std::uint64_t tabsize) {
  return column + tabsize - column % tabsize;
}

// The bytes of the first `characters` characters of `piece`, each whole.
std::size_t prefix_bytes(std::string_view piece, std::uint64_t characters) {
  std::size_t end = 0;
  for (; end < piece.size(); ++end) {
    if (io_utils::is_continuation_byte(piece[end]))
      continue;
    if (characters == 0)
      break;
    --characters;
  }
  return end;
}

// Tab stops here count from the start of the row, not of a text.
void fill(std::string& out, std::uint64_t from, std::uint64_t to,
          std::uint64_t tabsize, bool expand_tabs) {
  if (!expand_tabs) {
    const std::uint64_t stop = next_tab_stop(from, tabsize);
    if (stop <= to) {
      const std::uint64_t more_stops = (to - stop) / tabsize;
      out.append(more_stops + 1, '\t');
      from = stop + more_stops * tabsize;
    }
  }
  if (to > from) {
    out.append(to - from, ' ');
  }
}

}  // namespace

ColumnGeometry column_geometry(std::uint64_t width, std::uint64_t tabsize,
                               bool expand_tabs) {
  const std::uint64_t unit = expand_tabs ? 1 : effective_tabsize(tabsize);
  // floor((width + unit + 3) / 2) without forming the sum: (unit + 3) / 2 is
  // unit / 2 + 1, one more when unit is odd; the halves lose a 1 each only
  // when width and unit + 3 are both odd.
  const bool width_odd = width % 2 == 1;
  const bool unit_odd = unit % 2 == 1;
  std::uint64_t off = width / 2 + (unit / 2 + 1 + (unit_odd ? 1 : 0)) +
                      (width_odd && !unit_odd ? 1 : 0);
  off -= off % unit;
  if (off < 4 || width <= off) {
    return {.half_width = 0, .right_column_start = width};
  }
  return {.half_width = std::min(off - 3, width - off),
          .right_column_start = off};
}

std::uint64_t sdiff_print_half_line(std::string& out, std::string_view text,
                                    std::uint64_t bound, std::uint64_t tabsize,
                                    bool expand_tabs) {
  tabsize = effective_tabsize(tabsize);
  // While nothing has been dropped the input and output columns agree, so
  // one counter serves; the first dropped character or cut tab ends the
  // text, since nothing after it can be written. The text between two tabs
  // is copied in one piece when it fits.
  std::uint64_t column = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t tab = std::min(text.find('\t', pos), text.size());
    const std::string_view piece = text.substr(pos, tab - pos);
    const std::uint64_t characters = io_utils::character_count(piece);
    if (characters > bound - column) {
      const std::size_t kept = prefix_bytes(piece, bound - column);
      out.append(piece.substr(0, kept));
      return bound;
    }
    out.append(piece);
    column += characters;
    if (tab == text.size())
      break;

    const std::uint64_t stop = next_tab_stop(column, tabsize);
    if (expand_tabs) {
      const std::uint64_t target = std::min(stop, bound);
      if (target > column)
        out.append(target - column, ' ');
      if (target < stop)
        return std::max(target, column);
    } else {
      if (stop >= bound)
        return column;
      out.push_back('\t');
    }
    column = stop;
    pos = tab + 1;
  }
  return column;
}

std::string format_sdiff_line_output(std::optional<std::string_view> left,
                                     char marker,
                                     std::optional<std::string_view> right,
                                     std::uint64_t half_width,
                                     std::uint64_t right_column_start,
                                     std::uint64_t tabsize, bool expand_tabs) {
  std::string row;
  append_sdiff_line_output(row, left, marker, right, half_width,
                           right_column_start, tabsize, expand_tabs);
  return row;
}

void append_sdiff_line_output(std::string& row,
                              std::optional<std::string_view> left, char marker,
                              std::optional<std::string_view> right,
                              std::uint64_t half_width,
                              std::uint64_t right_column_start,
                              std::uint64_t tabsize, bool expand_tabs) {
  tabsize = effective_tabsize(tabsize);
  const std::uint64_t marker_column =
      half_width + right_column_start == 0
          ? 0
          : (half_width + right_column_start - 1) / 2;
  std::uint64_t column = 0;
  if (left) {
    column =
        sdiff_print_half_line(row, *left, half_width, tabsize, expand_tabs);
  }
  if (marker != ' ') {
    fill(row, column, marker_column, tabsize, expand_tabs);
    row.push_back(marker);
    column = marker_column + 1;
  }
  if (right && !right->empty()) {
    fill(row, column, right_column_start, tabsize, expand_tabs);
    sdiff_print_half_line(row, *right, half_width, tabsize, expand_tabs);
  }
}

}  // namespace sdiff
