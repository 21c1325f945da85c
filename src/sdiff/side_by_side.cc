// The listing mode: every row rendered and written to standard output.
#include "sdiff/side_by_side.h"

#include <unistd.h>

#include <string>
#include <utility>

#include "io_utils/fd_io.h"
#include "sdiff/rows.h"
#include "sdiff/shown_row.h"

namespace sdiff {

io_utils::Result<int> run_side_by_side(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options) {
  auto rows = generate_sdiff_lines(left_path, right_path, options);
  if (!rows.ok())
    return std::move(rows.error());

  const RowLayout layout = row_layout(options);
  bool differs = false;
  std::string line;  // one buffer for every row
  for (const SdiffLine& row : rows.value()) {
    const bool common = row.kind == SdiffLineKind::Common;
    if (common && options.suppress_common_lines)
      continue;
    line.clear();
    append_shown_row(line, row, layout);
    line.push_back('\n');
    // Each row is one write of its own, so that the rows before a failed
    // one have all left the process and the failure is reported for the
    // row whose write failed.
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
