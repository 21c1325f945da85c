// The matched lines of large inputs: the diagonal search on the lines as
// they are while it is short, then on the numbers of the lines that have a
// partner, and bit-parallel rows where the search would run longer than
// they take. Each gives the pairs the search gives on the whole lists; the
// reasons are in lcs_walk.h.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>

#include "diff/diagonal_search.h"
#include "diff/diagonal_search_internal.h"
#include "diff/lcs_rows.h"
#include "diff/line_classes.h"

namespace diff {
namespace {

// The numbers and the partnered lists index lines with 32 bits.
constexpr std::uint64_t kMaxNumberedLines = std::uint64_t{1} << 32;

// A step of the search costs about what one word of the table costs the
// rows (their forward pass, the blocks the walk recomputes and the walk),
// some 1.5 ns; an equal line followed where the runs of equal lines are
// short and their ends cannot be foreseen costs about four steps.
constexpr std::uint64_t kFollowedLineSteps = 4;

// Rows of one word cost no less than the search's own bound of about
// (D + 1) (min(a, b) + 2) steps.
constexpr std::uint64_t kMinRowBits = 65;

CommonPairs partnered_common_pairs(const PartneredLists& lists,
                                   const SearchPlan& plan) {
  const std::span<const std::uint32_t> left = lists.left.classes;
  const std::span<const std::uint32_t> right = lists.right.classes;
  if (left.empty() || right.empty()) {
    return {};
  }
  const SearchLimits unlimited = {.min_gap = plan.min_gap};
  switch (plan.method) {
    case PartneredMethod::kDiagonalSearch:
      return *diagonal_search(left, right, unlimited);
    case PartneredMethod::kRows:
      return lcs_rows_common_pairs(left, right, lists.count,
                                   plan.rows_per_block);
    case PartneredMethod::kCheaper:
      break;
  }
  const std::uint64_t bits = std::min(left.size(), right.size());
  if (bits < kMinRowBits) {
    return *diagonal_search(left, right, unlimited);
  }
  const std::uint64_t row_words =
      std::max(left.size(), right.size()) * ((bits + 63) / 64);
  // Giving up once the search has cost what the rows will cost bounds the
  // whole at twice the better of the two; the search's progress tells
  // earlier, on most inputs, that it would not end in time.
  if (std::optional<CommonPairs> found =
          diagonal_search(left, right,
                          {.min_gap = plan.min_gap,
                           .max_steps = row_words,
                           .followed_line_steps = kFollowedLineSteps,
                           .give_up_early = true})) {
    return *found;
  }
  return lcs_rows_common_pairs(left, right, lists.count, plan.rows_per_block);
}

}  // namespace

CommonPairs myers_common_pairs_with(Lines left, Lines right,
                                    const SearchPlan& plan) {
  const std::uint64_t total = left.size() + right.size();
  if (total < kMaxNumberedLines) {
    // Numbering costs about a hash of each line; a search that has taken as
    // many steps as there are lines has spent about as much, and usually
    // has as far to go. Short searches, as on near-copies, never pay for
    // it.
    if (plan.method == PartneredMethod::kCheaper) {
      if (std::optional<CommonPairs> found = diagonal_search(
              left, right, {.min_gap = plan.min_gap, .max_steps = total})) {
        return *found;
      }
    }
    if (std::optional<LineClasses> classes =
            line_classes(left, right, plan.numbering)) {
      const PartneredLists lists = partnered_lines(*classes);
      return whole_list_pairs(partnered_common_pairs(lists, plan), lists);
    }
  }
  // Lines made to collide in the numbering's hash, or too many to number:
  // the search goes on comparing the records.
  return *diagonal_search(left, right, {.min_gap = plan.min_gap});
}

CommonPairs myers_common_pairs(Lines left, Lines right) {
  return myers_common_pairs_with(left, right, {});
}

}  // namespace diff
