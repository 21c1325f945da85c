// The matched lines of large inputs: the diagonal search on the lines as
// they are while it is short, then on the numbers of the lines that have a
// partner, and bit-parallel rows where the search would run longer than
// they take. Each gives the pairs the search gives on the whole lists; the
// reasons are in lcs_walk.h.
//
// Choosing between the search and the rows. The rows cost about one and a
// half word steps for each of their t ceil(s / 64) words, whatever the
// lines; the search's cost is known only once it ends. So the search runs
// with a budget: where it has cost what the rows would cost and has not
// ended, the rows take over, and the two together have cost at most about
// twice the cheaper one. Most inputs that differ throughout would spend
// that whole budget in vain, so the search first runs on a small share of
// it, and where it has not ended by then, its progress tells how far it
// has to go. Through lines that differ about evenly, the furthest point it
// reached moves about evenly, so D is about passes (lines in all) / (lines
// behind the furthest point). Long runs of lines that both lists hold, on
// diagonals near its way from diagonal 0 to diagonal a - b, it crosses in
// a single pass wherever they lie, so those lines are left out of both
// counts. Where the search seems to have too far to go, the rows
// take over at once; otherwise a second search starts afresh, having lost
// the small share.
#include "diff/myers_common_pairs.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>

#include "diff/lcs_rows.h"
#include "diff/line_classes.h"
#include "diff/long_runs.h"

namespace diff {
namespace {

// The numbers and the partnered lists index lines with 32 bits.
constexpr std::uint64_t kMaxNumberedLines = std::uint64_t{1} << 32;

// A step of the search costs about what one word of the table costs the
// rows (their forward pass, the blocks the walk recomputes and the walk),
// some 1.5 ns; an equal line followed where the runs of equal lines are
// short and their ends cannot be foreseen costs about four steps.
constexpr std::uint64_t kFollowedLineSteps = 4;

// The first search runs on this fraction of the budget.
constexpr std::uint64_t kTrialShare = 256;

// Finding the long runs costs about as much a line as the rows cost for
// this many words; where the rows cost less than that, they take over
// without it.
constexpr std::uint64_t kLongRunWordsPerLine = 20;

// Long runs count only on diagonals within this fraction of the lines of
// the way from diagonal 0 to diagonal a - b.
constexpr std::uint64_t kOffTheWay = 64;

// Where the shorter list fits in a word, the search's own bound of about
// (D + 1) (min(a, b) + 2) steps is within a small multiple of the rows'
// word steps, and usually far below it.
constexpr std::uint64_t kMinRowBits = 65;

// The work the search will have done when it ends, judged from `progress`
// with D as above, and passes that widen about evenly up to the most the
// lists allow, min(a, b) + 2 diagonals, each step costing what the steps
// so far did.
double projected_work(std::uint64_t a, std::uint64_t b,
                      const SearchProgress& progress,
                      const LongRunLines& long_runs) {
  const auto behind =
      static_cast<double>(progress.furthest_x + progress.furthest_y) -
      static_cast<double>(long_runs.left_before + long_runs.right_before);
  const double lines = static_cast<double>(a + b) -
                       static_cast<double>(long_runs.left + long_runs.right);
  const double d = static_cast<double>(progress.passes);
  const double end = std::clamp(d * lines / std::max(behind, 1.0), d,
                                static_cast<double>(a + b));
  const double widest = static_cast<double>(std::min(a, b) + 2);
  const double growth = static_cast<double>(progress.width) / (d + 1);
  const double widening_ends = std::clamp(widest / growth, d, end);
  const double remaining_steps =
      growth * (widening_ends * widening_ends - d * d) / 2 +
      widest * (end - widening_ends);
  return static_cast<double>(progress.work) *
         (1 + remaining_steps / static_cast<double>(std::max<std::uint64_t>(
                                    progress.steps, 1)));
}

CommonPairs rows(std::span<const std::uint32_t> left,
                 std::span<const std::uint32_t> right,
                 const PartneredLists& lists, const SearchPlan& plan,
                 FoundBy& found_by) {
  found_by = FoundBy::kRows;
  return lcs_rows_common_pairs(left, right, lists.count, plan.rows_per_block);
}

CommonPairs partnered_common_pairs(const PartneredLists& lists,
                                   const SearchPlan& plan, FoundBy& found_by) {
  const std::span<const std::uint32_t> left = lists.left.classes;
  const std::span<const std::uint32_t> right = lists.right.classes;
  found_by = FoundBy::kSearchOnNumbers;
  if (left.empty() || right.empty()) {
    return {};
  }
  const std::uint64_t bits = std::min(left.size(), right.size());
  if (plan.method == PartneredMethod::kRows) {
    return rows(left, right, lists, plan, found_by);
  }
  if (plan.method == PartneredMethod::kDiagonalSearch || bits < kMinRowBits) {
    return *diagonal_search(left, right, {.min_gap = plan.min_gap});
  }

  const std::uint64_t budget =
      std::max(left.size(), right.size()) * ((bits + 63) / 64);
  SearchLimits limits = {.min_gap = plan.min_gap,
                         .max_work = budget / kTrialShare,
                         .followed_line_steps = kFollowedLineSteps};
  SearchProgress progress;
  if (std::optional<CommonPairs> found =
          diagonal_search(left, right, limits, &progress)) {
    return *found;
  }
  const std::uint64_t lines = left.size() + right.size();
  if (budget < kLongRunWordsPerLine * lines) {
    return rows(left, right, lists, plan, found_by);
  }
  // Runs far off the way from diagonal 0 to diagonal a - b would cost the
  // search many passes to reach: they do not count.
  const auto last_diagonal = static_cast<std::int64_t>(left.size()) -
                             static_cast<std::int64_t>(right.size());
  const auto off_the_way = static_cast<std::int64_t>(lines / kOffTheWay);
  const LongRunLines long_runs = lines_in_long_common_runs(
      left, right, static_cast<std::uint64_t>(progress.furthest_x),
      static_cast<std::uint64_t>(progress.furthest_y),
      std::min<std::int64_t>(0, last_diagonal) - off_the_way,
      std::max<std::int64_t>(0, last_diagonal) + off_the_way);
  if (projected_work(left.size(), right.size(), progress, long_runs) >
      static_cast<double>(budget)) {
    return rows(left, right, lists, plan, found_by);
  }
  limits.max_work = budget;
  if (std::optional<CommonPairs> found = diagonal_search(left, right, limits)) {
    return *found;
  }
  return rows(left, right, lists, plan, found_by);
}

}  // namespace

CommonPairs myers_common_pairs_with(Lines left, Lines right,
                                    const SearchPlan& plan, FoundBy* found_by) {
  FoundBy found = FoundBy::kSearchOnRecords;
  CommonPairs pairs = [&] {
    const std::uint64_t total = left.size() + right.size();
    if (total < kMaxNumberedLines) {
      // Numbering costs about a hash of each line; a search that has taken
      // as many steps as there are lines has spent about as much, and
      // usually has as far to go. Short searches, as on near-copies, never
      // pay for it.
      if (plan.method == PartneredMethod::kCheaper) {
        if (std::optional<CommonPairs> short_search = diagonal_search(
                left, right, {.min_gap = plan.min_gap, .max_work = total})) {
          return *short_search;
        }
      }
      if (std::optional<LineClasses> classes =
              line_classes(left, right, plan.numbering)) {
        const PartneredLists lists = partnered_lines(*classes);
        return whole_list_pairs(partnered_common_pairs(lists, plan, found),
                                lists);
      }
    }
    // Lines made to collide in the numbering's hash, or too many to number:
    // the search goes on comparing the records.
    return *diagonal_search(left, right, {.min_gap = plan.min_gap});
  }();
  if (found_by != nullptr)
    *found_by = found;
  return pairs;
}

CommonPairs myers_common_pairs(Lines left, Lines right) {
  return myers_common_pairs_with(left, right, {});
}

}  // namespace diff
