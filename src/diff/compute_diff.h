// The edit script between two line lists.
#ifndef VRELSDIFF_DIFF_COMPUTE_DIFF_H_
#define VRELSDIFF_DIFF_COMPUTE_DIFF_H_

#include <vector>

#include "diff/common_pairs.h"
#include "io_utils/read_lines.h"
#include "types/compare_line.h"
#include "types/edit.h"

namespace diff {

// The ordered edit script that turns `left` into `right`; with
// ignore_blank_lines, blank edits are dropped.
std::vector<types::Edit> compute_diff(
    const std::vector<types::CompareLine>& left,
    const std::vector<types::CompareLine>& right,
    const io_utils::CompareOptions& options);

// The script before any edit is dropped: no two edits touch and the lines
// between them are matched pairwise. compute_diff is this plus the blank
// filter; the row walk uses it to place the lines of dropped edits.
std::vector<types::Edit> compute_edit_script(
    const std::vector<types::CompareLine>& left,
    const std::vector<types::CompareLine>& right);

// One record per gap between matched runs: a Change where both sides have
// lines, else a Delete or an Insert; texts are copied once.
std::vector<types::Edit> edits_from_pairs(
    const std::vector<types::CompareLine>& left,
    const std::vector<types::CompareLine>& right, const CommonPairs& pairs);

// True iff every line on both sides of `edit` is blank.
bool is_blank_edit(const types::Edit& edit);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_COMPUTE_DIFF_H_
