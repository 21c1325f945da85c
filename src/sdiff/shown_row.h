// What the listing and the merge show of a row: its marker and texts, laid
// out by the run's one column geometry.
#ifndef VRELSDIFF_SDIFF_SHOWN_ROW_H_
#define VRELSDIFF_SDIFF_SHOWN_ROW_H_

#include <cstdint>
#include <string>

#include "cli/sdiff_options.h"
#include "sdiff/render.h"
#include "sdiff/rows.h"

namespace sdiff {

// The layout of every row of a run, computed once.
struct RowLayout {
  ColumnGeometry geometry;
  std::uint64_t tabsize = 8;
  bool expand_tabs = false;
  bool left_column = false;  // common rows show "(" and their left text
};

RowLayout row_layout(const cli::sdiff::SdiffOptions& options);

// Appends the row as the listing prints it, without its line end. The merge
// shows a differing row with this same function, so it shows the very line
// the listing prints.
void append_shown_row(std::string& out, const SdiffLine& row,
                      const RowLayout& layout);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_SHOWN_ROW_H_
