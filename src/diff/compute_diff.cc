// The edit script: matched runs from one of the two strategies, the gaps
// between them as records, and the blank filter.
#include "diff/compute_diff.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "diff/lcs.h"
#include "diff/myers_common_pairs.h"
#include "io_utils/unicode.h"

namespace diff {
namespace {

using types::CompareLine;
using types::Edit;
using types::EditKind;

// Below this many line pairs the full table is affordable (at most about
// two million 32-bit cells); from it on the diagonal search is used.
constexpr std::uint64_t kTablePairLimit = 1'000'000;

// Left indices i .. e - 1 against right indices j .. f - 1; either range may
// be empty.
void emit_gap(Lines left, Lines right, std::uint64_t i, std::uint64_t e,
              std::uint64_t j, std::uint64_t f, std::vector<Edit>& script) {
  const bool has_left = i < e;
  const bool has_right = j < f;
  if (!has_left && !has_right) {
    return;
  }
  Edit edit;
  if (has_left) {
    edit.left_lines = left.subspan(i, e - i);
    edit.left_start = i + 1;
    edit.left_end = e;
  } else {
    edit.left_start = i;
    edit.left_end = i;
  }
  if (has_right) {
    edit.right_lines = right.subspan(j, f - j);
    edit.right_start = j + 1;
    edit.right_end = f;
  } else {
    edit.right_start = j;
    edit.right_end = j;
  }
  edit.kind = has_left && has_right ? EditKind::Change
              : has_left            ? EditKind::Delete
                                    : EditKind::Insert;
  script.push_back(std::move(edit));
}

bool all_blank(Lines lines) {
  return std::all_of(lines.begin(), lines.end(), [](const CompareLine& line) {
    return io_utils::is_blank(line.text);
  });
}

}  // namespace

std::vector<Edit> compute_diff(Lines left, Lines right,
                               const io_utils::CompareOptions& options) {
  std::vector<Edit> script = compute_edit_script(left, right);
  if (options.ignore_blank_lines) {
    std::erase_if(script, is_blank_edit);
  }
  return script;
}

std::vector<Edit> compute_edit_script(Lines left, Lines right) {
  const std::uint64_t a = left.size();
  const std::uint64_t b = right.size();
  if (a == 0 || b == 0) {
    return edits_from_pairs(left, right, {});
  }
  // a * b < limit, asked without forming a product that could wrap.
  const bool small = a <= (kTablePairLimit - 1) / b;
  const CommonPairs pairs =
      small ? lcs_common_pairs(left, right) : myers_common_pairs(left, right);
  return edits_from_pairs(left, right, pairs);
}

std::vector<Edit> edits_from_pairs(Lines left, Lines right,
                                   const CommonPairs& pairs) {
  std::vector<Edit> script;
  std::uint64_t i = 0;
  std::uint64_t j = 0;
  for (const CommonRun& run : pairs) {
    emit_gap(left, right, i, run.left, j, run.right, script);
    i = run.left + run.length;
    j = run.right + run.length;
  }
  emit_gap(left, right, i, left.size(), j, right.size(), script);
  return script;
}

bool is_blank_edit(const Edit& edit) {
  return all_blank(edit.left_lines) && all_blank(edit.right_lines);
}

}  // namespace diff
