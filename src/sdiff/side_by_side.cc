// The listing mode: every row rendered and written to standard output.
#include "sdiff/side_by_side.h"

#include <unistd.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "io_utils/fd_io.h"
#include "sdiff/render.h"
#include "sdiff/rows.h"

namespace sdiff {
namespace {

std::optional<std::string_view> view(const std::optional<std::string>& text) {
  if (!text)
    return std::nullopt;
  return std::string_view(*text);
}

// The marker and the texts a row shows. A Common row keeps whichever of
// its texts it has: one of a dropped blank edit's surplus lines stands in
// its own column.
struct Shown {
  char marker = ' ';
  std::optional<std::string_view> left;
  std::optional<std::string_view> right;
};

Shown shown(const SdiffLine& row, bool left_column) {
  switch (row.kind) {
    case SdiffLineKind::Common:
      if (left_column)
        return {'(', view(row.left_text), std::nullopt};
      return {' ', view(row.left_text), view(row.right_text)};
    case SdiffLineKind::Changed:
      return {'|', view(row.left_text), view(row.right_text)};
    case SdiffLineKind::LeftOnly:
      return {'<', view(row.left_text), std::nullopt};
    case SdiffLineKind::RightOnly:
      return {'>', std::nullopt, view(row.right_text)};
  }
  return {};
}

}  // namespace

io_utils::Result<int> run_side_by_side(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options) {
  auto rows = generate_sdiff_lines(left_path, right_path, options);
  if (!rows.ok())
    return std::move(rows.error());

  const ColumnGeometry geometry =
      column_geometry(options.width, options.tabsize, options.expand_tabs);
  bool differs = false;
  for (const SdiffLine& row : rows.value()) {
    const bool common = row.kind == SdiffLineKind::Common;
    if (common && options.suppress_common_lines)
      continue;
    const Shown what = shown(row, options.left_column);
    std::string line = format_sdiff_line_output(
        what.left, what.marker, what.right, geometry.half_width,
        geometry.right_column_start, options.tabsize, options.expand_tabs);
    line.push_back('\n');
    // One write per row: standard output is line-buffered, so a row leaves
    // the process whole at its line end, and a failed write is reported for
    // the row that failed.
    auto written = io_utils::write_all(STDOUT_FILENO, line,
                                       io_utils::kWriteBufferedZeroText);
    if (!written.ok())
      return std::move(written.error());
    if (!common)
      differs = true;
  }
  return differs ? 1 : 0;
}

}  // namespace sdiff
