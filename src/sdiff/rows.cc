// Walking the edit script of two files into side-by-side rows.
#include "sdiff/rows.h"

#include <algorithm>
#include <utility>

#include "diff/compute_diff.h"
#include "io_utils/read_lines.h"
#include "types/compare_line.h"
#include "types/edit.h"

namespace sdiff {
namespace {

using types::CompareLine;
using types::Edit;
using types::EditKind;

io_utils::CompareOptions compare_options(
    const cli::sdiff::SdiffOptions& options) {
  return {
      .tabsize = options.tabsize,
      .text = options.text,
      .strip_trailing_cr = options.strip_trailing_cr,
      .ignore_case = options.ignore_case,
      .ignore_space_change = options.ignore_space_change,
      .ignore_all_space = options.ignore_all_space,
      .ignore_trailing_space = options.ignore_trailing_space,
      .ignore_tab_expansion = options.ignore_tab_expansion,
      .ignore_blank_lines = options.ignore_blank_lines,
  };
}

// The rows so far and how many lines of each list they hold. The lists are
// consumed: each row takes its text over from the line, and the line's
// comparison form is released, so that the rows grow while the lists
// shrink instead of every line being held three times.
struct Walk {
  std::vector<CompareLine>& left;
  std::vector<CompareLine>& right;
  std::uint64_t left_done = 0;
  std::uint64_t right_done = 0;
  std::vector<SdiffLine> rows;
};

std::string take_text(CompareLine& line) {
  std::string().swap(line.normalized);
  return std::move(line.text);
}

void take_left(Walk& walk, SdiffLine& row) {
  row.left_line_number = walk.left_done + 1;
  row.left_text = take_text(walk.left[walk.left_done]);
  ++walk.left_done;
}

void take_right(Walk& walk, SdiffLine& row) {
  row.right_line_number = walk.right_done + 1;
  row.right_text = take_text(walk.right[walk.right_done]);
  ++walk.right_done;
}

// Places the lines up to left line `left_end` and right line `right_end`
// (counts, not indices): pairs of `paired` rows first while both sides have
// lines, then the longer side's surplus as rows of `left_alone` or
// `right_alone`. The ends are cut to the lists, so no script can make the
// walk read past them.
void place_lines(Walk& walk, std::uint64_t left_end, std::uint64_t right_end,
                 SdiffLineKind paired, SdiffLineKind left_alone,
                 SdiffLineKind right_alone) {
  left_end = std::min<std::uint64_t>(left_end, walk.left.size());
  right_end = std::min<std::uint64_t>(right_end, walk.right.size());
  while (walk.left_done < left_end && walk.right_done < right_end) {
    SdiffLine row{.kind = paired};
    take_left(walk, row);
    take_right(walk, row);
    walk.rows.push_back(std::move(row));
  }
  while (walk.left_done < left_end) {
    SdiffLine row{.kind = left_alone};
    take_left(walk, row);
    walk.rows.push_back(std::move(row));
  }
  while (walk.right_done < right_end) {
    SdiffLine row{.kind = right_alone};
    take_right(walk, row);
    walk.rows.push_back(std::move(row));
  }
}

// Matched lines in the full script are as many on both sides, so they come
// out as pairs; the one-sided forms only ever serve a dropped blank edit.
void place_common(Walk& walk, std::uint64_t left_end, std::uint64_t right_end) {
  place_lines(walk, left_end, right_end, SdiffLineKind::Common,
              SdiffLineKind::Common, SdiffLineKind::Common);
}

std::uint64_t left_before(const Edit& edit) {
  return edit.kind == EditKind::Insert ? edit.left_start : edit.left_start - 1;
}

std::uint64_t right_before(const Edit& edit) {
  return edit.kind == EditKind::Delete ? edit.right_start
                                       : edit.right_start - 1;
}

std::uint64_t left_through(const Edit& edit) {
  return edit.kind == EditKind::Insert ? edit.left_start : edit.left_end;
}

std::uint64_t right_through(const Edit& edit) {
  return edit.kind == EditKind::Delete ? edit.right_start : edit.right_end;
}

// Every right line has a row of its own, and so has every left line beyond
// the length of its edit's right run. Reserving the exact count keeps the
// list from being moved, and held twice, when it grows near its end.
std::size_t row_count(std::size_t right_lines,
                      const std::vector<Edit>& script) {
  std::size_t count = right_lines;
  for (const Edit& edit : script) {
    const std::uint64_t left_run = left_through(edit) - left_before(edit);
    const std::uint64_t right_run = right_through(edit) - right_before(edit);
    if (left_run > right_run)
      count += left_run - right_run;
  }
  return count;
}

}  // namespace

io_utils::Result<std::vector<SdiffLine>> generate_sdiff_lines(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options) {
  const io_utils::CompareOptions settings = compare_options(options);
  auto left = io_utils::read_and_normalize(left_path, settings);
  if (!left.ok())
    return std::move(left.error());
  auto right = io_utils::read_and_normalize(right_path, settings);
  if (!right.ok())
    return std::move(right.error());

  // The blank filter is applied here rather than taken from compute_diff:
  // a dropped edit with runs of unequal length leaves gaps of unequal length
  // between the remaining edits, and only the full script says which lines
  // of such a gap were matched and which were blank.
  const std::vector<Edit> script =
      diff::compute_edit_script(left.value(), right.value());

  Walk walk{.left = left.value(), .right = right.value()};
  walk.rows.reserve(row_count(walk.right.size(), script));
  for (const Edit& edit : script) {
    place_common(walk, left_before(edit), right_before(edit));
    if (options.ignore_blank_lines && diff::is_blank_edit(edit)) {
      place_common(walk, left_through(edit), right_through(edit));
    } else {
      place_lines(walk, left_through(edit), right_through(edit),
                  SdiffLineKind::Changed, SdiffLineKind::LeftOnly,
                  SdiffLineKind::RightOnly);
    }
  }
  place_common(walk, walk.left.size(), walk.right.size());
  return std::move(walk.rows);
}

}  // namespace sdiff
