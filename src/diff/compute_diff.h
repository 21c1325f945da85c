// The edit script between two line lists.
#ifndef VRELSDIFF_DIFF_COMPUTE_DIFF_H_
#define VRELSDIFF_DIFF_COMPUTE_DIFF_H_

#include <vector>

#include "diff/common_pairs.h"
#include "io_utils/compare_options.h"
#include "types/compare_line.h"
#include "types/edit.h"

namespace diff {

// The ordered edit script that turns `left` into `right`; with
// ignore_blank_lines, blank edits are dropped. The edits view the two lists
// and are valid for as long as they are.
std::vector<types::Edit> compute_diff(Lines left, Lines right,
                                      const io_utils::CompareOptions& options);

// The script before any edit is dropped: no two edits touch and the lines
// between them are matched pairwise. compute_diff is this plus the blank
// filter; the row walk uses it to place the lines of dropped edits.
std::vector<types::Edit> compute_edit_script(Lines left, Lines right);

// One record per gap between matched runs: a Change where both sides have
// lines, else a Delete or an Insert; each covers its lines by views.
std::vector<types::Edit> edits_from_pairs(Lines left, Lines right,
                                          const CommonPairs& pairs);

// True iff every line on both sides of `edit` is blank.
bool is_blank_edit(const types::Edit& edit);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_COMPUTE_DIFF_H_
