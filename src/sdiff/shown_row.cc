// The marker of each kind of row and the texts shown beside it.
#include "sdiff/shown_row.h"

#include <optional>
#include <string_view>

namespace sdiff {
namespace {

// A Common row keeps whichever of its texts it has: one of a dropped blank
// edit's surplus lines stands in its own column.
struct Shown {
  char marker = ' ';
  std::optional<std::string_view> left;
  std::optional<std::string_view> right;
};

Shown shown(const SdiffLine& row, bool left_column) {
  switch (row.kind) {
    case SdiffLineKind::Common:
      if (left_column)
        return {'(', row.left_text, std::nullopt};
      return {' ', row.left_text, row.right_text};
    case SdiffLineKind::Changed:
      return {'|', row.left_text, row.right_text};
    case SdiffLineKind::LeftOnly:
      return {'<', row.left_text, std::nullopt};
    case SdiffLineKind::RightOnly:
      return {'>', std::nullopt, row.right_text};
  }
  return {};
}

}  // namespace

RowLayout row_layout(const cli::sdiff::SdiffOptions& options) {
  return {.geometry = column_geometry(options.width, options.tabsize,
                                      options.expand_tabs),
          .tabsize = options.tabsize,
          .expand_tabs = options.expand_tabs,
          .left_column = options.left_column};
}

void append_shown_row(std::string& out, const SdiffLine& row,
                      const RowLayout& layout) {
  const Shown what = shown(row, layout.left_column);
  append_sdiff_line_output(
      out, what.left, what.marker, what.right, layout.geometry.half_width,
      layout.geometry.right_column_start, layout.tabsize, layout.expand_tabs);
}

}  // namespace sdiff
