#include "diff/compute_diff.h"

#include "diff/diagonal_search.h"
#include "diff/lcs.h"

namespace diff {

std::vector<types::Edit> compute_diff(
    const std::vector<types::CompareLine>& left,
    const std::vector<types::CompareLine>& right,
    const io_utils::CompareOptions& options) {
  (void)options;
  return compute_edit_script(left, right);  // TODO
}

std::vector<types::Edit> compute_edit_script(
    const std::vector<types::CompareLine>& left,
    const std::vector<types::CompareLine>& right) {
  (void)left;
  (void)right;
  return {};  // TODO
}

std::vector<types::Edit> edits_from_pairs(
    const std::vector<types::CompareLine>& left,
    const std::vector<types::CompareLine>& right, const CommonPairs& pairs) {
  (void)left;
  (void)right;
  (void)pairs;
  return {};  // TODO
}

bool is_blank_edit(const types::Edit& edit) {
  (void)edit;
  return false;  // TODO
}

}  // namespace diff
