// Walking the edit script of two files into runs of side-by-side rows.
#include "sdiff/rows.h"

#include <algorithm>
#include <utility>

#include "diff/compute_diff.h"
#include "types/compare_line.h"
#include "types/edit.h"

namespace sdiff {
namespace {

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

// The runs so far and how many lines of each file they hold.
struct Walk {
  std::uint64_t left_size = 0;
  std::uint64_t right_size = 0;
  std::uint64_t left_done = 0;
  std::uint64_t right_done = 0;
  std::vector<RowRun> runs;

  void add(SdiffLineKind kind, bool has_left, bool has_right,
           std::uint64_t count) {
    if (count == 0)
      return;
    runs.push_back({.kind = kind,
                    .has_left = has_left,
                    .has_right = has_right,
                    .left_first = left_done,
                    .right_first = right_done,
                    .count = count});
    if (has_left)
      left_done += count;
    if (has_right)
      right_done += count;
  }
};

// Places the lines up to left line `left_end` and right line `right_end`
// (counts, not indices): pairs of `paired` rows first while both sides have
// lines, then the longer side's surplus as rows of `left_alone` or
// `right_alone`. The ends are cut to the lists, so no script can make the
// walk read past them.
void place_lines(Walk& walk, std::uint64_t left_end, std::uint64_t right_end,
                 SdiffLineKind paired, SdiffLineKind left_alone,
                 SdiffLineKind right_alone) {
  left_end = std::clamp(left_end, walk.left_done, walk.left_size);
  right_end = std::clamp(right_end, walk.right_done, walk.right_size);
  const std::uint64_t left_run = left_end - walk.left_done;
  const std::uint64_t right_run = right_end - walk.right_done;
  const std::uint64_t pairs = std::min(left_run, right_run);
  walk.add(paired, true, true, pairs);
  walk.add(left_alone, true, false, left_run - pairs);
  walk.add(right_alone, false, true, right_run - pairs);
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

}  // namespace

SdiffLine SdiffLines::Iterator::operator*() const {
  const RowRun& run = rows_->runs_[run_];
  SdiffLine row{.kind = run.kind};
  if (run.has_left) {
    const std::uint64_t index = run.left_first + offset_;
    row.left_line_number = index + 1;
    row.left_text = rows_->left_.lines()[index].text;
  }
  if (run.has_right) {
    const std::uint64_t index = run.right_first + offset_;
    row.right_line_number = index + 1;
    row.right_text = rows_->right_.lines()[index].text;
  }
  return row;
}

SdiffLines::Iterator& SdiffLines::Iterator::operator++() {
  if (++offset_ == rows_->runs_[run_].count) {
    ++run_;
    offset_ = 0;
  }
  return *this;
}

SdiffLines::Iterator SdiffLines::begin() const {
  Iterator first;
  first.rows_ = this;
  return first;
}

SdiffLines::Iterator SdiffLines::end() const {
  Iterator last;
  last.rows_ = this;
  last.run_ = runs_.size();
  return last;
}

std::uint64_t SdiffLines::size() const {
  std::uint64_t count = 0;
  for (const RowRun& run : runs_) count += run.count;
  return count;
}

io_utils::Result<SdiffLines> generate_sdiff_lines(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options) {
  const io_utils::CompareOptions settings = compare_options(options);
  SdiffLines rows;
  {
    auto left = io_utils::read_and_normalize(left_path, settings);
    if (!left.ok())
      return std::move(left.error());
    rows.left_ = std::move(left.value());
  }
  {
    auto right = io_utils::read_and_normalize(right_path, settings);
    if (!right.ok())
      return std::move(right.error());
    rows.right_ = std::move(right.value());
  }
  const diff::Lines left = rows.left_.lines();
  const diff::Lines right = rows.right_.lines();

  // The blank filter is applied here rather than taken from compute_diff:
  // a dropped edit with runs of unequal length leaves gaps of unequal length
  // between the remaining edits, and only the full script says which lines
  // of such a gap were matched and which were blank.
  const std::vector<Edit> script = diff::compute_edit_script(left, right);

  Walk walk{.left_size = left.size(), .right_size = right.size()};
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
  place_common(walk, walk.left_size, walk.right_size);
  rows.runs_ = std::move(walk.runs);
  return rows;
}

}  // namespace sdiff
