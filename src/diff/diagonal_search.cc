// The greedy forward search over diagonals, its compact trace and the walk
// back that turns the trace into matched runs.
//
// A position (x, y) has consumed x left and y right lines; its diagonal is
// k = x - y. Pass d reaches, on each diagonal k = -d, -d + 2, ..., d, the
// largest x a script of d insertions and deletions can reach there, x_d(k);
// the search ends in the pass D whose furthest point is (a, b). The step
// onto k starts from x_{d-1}(k + 1) (a step down) when k = -d or when k + 1
// is further than k - 1, else from x_{d-1}(k - 1) + 1 (a step right, ties
// included); where both neighbours exist that is the larger of the two.
// Then it follows equal lines. Pass 0 starts in effect from (0, -1), as if
// a pass -1 held x = 0 on diagonal 1; so does the walk back.
//
// Why a compact trace is exact: pass d reads only diagonals -(d - 1) to
// d - 1 of the parity of d - 1, and every one of those was last written by
// pass d - 1. So the entries that pass d writes, W_d, are a function of
// W_{d-1} alone, and recomputing a pass from a kept earlier pass gives the
// same entries bit for bit. The walk back at pass d reads the table as it
// stood after pass d only at k - 1 and k + 1, which pass d did not touch
// (other parity), and the table after pass d - 1 at the chosen diagonal:
// all three are entries of W_{d-1}. Hence keeping W_{d-1} for every d is
// enough to repeat every choice of the search.
//
// Why only part of each pass is computed. Call a point outside when it has
// left the closed rectangle: x > a or y > b.
// (1) A step that reads an outside neighbour starts outside, since its x
//     is at least x_{d-1}(k - 1) + 1 and at least x_{d-1}(k + 1) for each
//     neighbour it reads: on the right x >= x_{d-1}(k - 1) + 1 > a or
//     x >= x_{d-1}(k + 1) > a, below y >= y_{d-1}(k - 1) > b or
//     y >= y_{d-1}(k + 1) + 1 > b. Equal lines are followed only while
//     x < a and y < b, so following them neither takes a point out nor
//     brings one back. Hence the neighbours an inside point was stepped
//     from are inside, and being outside spreads one diagonal a pass.
// (2) Each pass keeps one range of diagonals: those whose neighbours both
//     lie in the range kept of the pass before (one neighbour at the two
//     ends of a pass), less the outside points at either end of it. A kept
//     entry is computed from kept entries only, so it equals the entry the
//     whole table would hold. Every inside diagonal is kept: by (1) the
//     neighbours it reads are inside, so kept by induction, so it is
//     computed, and an inside point is never cut from an end. Outside
//     points between inside ones are computed like the others; each costs
//     one step. The point of the path in each pass is inside, so no range
//     is empty before pass D.
// (3) The walk back reads nothing that was not kept: its path runs through
//     inside points, and at pass d on diagonal k it reads of pass d - 1
//     only the neighbours of k, inside by (1), the one it moves to included.
// (4) The cost: a point of pass d on diagonal k was reached with
//     (d + k) / 2 steps right and (d - k) / 2 steps down, and equal lines
//     only add to both, so x >= (d + k) / 2 and y >= (d - k) / 2. An inside
//     point thus lies on a diagonal from d - 2b to 2a - d, a kept range
//     spans at most min(a, b) + 1 diagonals, and the search costs at most
//     about (D + 1) (min(a, b) + 2) steps: linear when one file is short.
//     Where no point has left the rectangle yet it is the plain search.
//
// Keeping every W_d would still cost up to D^2 / 2 entries, so only some
// passes (checkpoints) are kept. The walk back recomputes the passes
// between two checkpoints, and only where it can still go: from pass d on
// diagonal k it moves one diagonal per pass, so of pass j < d it can read
// only diagonals k - (d - j) to k + (d - j). Within that cone the passes
// are recomputed by the same rule as in (2), and the argument of (2) holds
// for every inside diagonal of the cone, since its neighbours lie in the
// cone of the pass below. The cone is small, the gap between checkpoints
// grows as c^(2/3), and both the kept passes and the cone stay near
// D^(4/3) entries while the recomputation costs a fraction of the search.
//
// The linear-space method that searches from both ends towards a middle
// run of equal lines also finds a shortest script, with less memory. It is
// not used because where several shortest scripts exist it can choose
// another one: the search from (a, b) breaks its ties towards the other
// corner, and the middle run it splits at need not lie on the path this
// walk back takes, so other lines would be matched.
#include "diff/diagonal_search.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

namespace diff {
namespace {

using types::CompareLine;

// Entries of one pass over the diagonals low_k, low_k + 2, ...; reading a
// diagonal it does not hold is a fault, caught where bounds are checked.
template <typename Entry>
struct PassView {
  std::span<const Entry> entries;
  std::int64_t low_k = 0;

  std::int64_t high_k() const {
    return low_k + 2 * (static_cast<std::int64_t>(entries.size()) - 1);
  }

  std::int64_t at(std::int64_t k) const {
    return static_cast<std::int64_t>(
        entries[static_cast<std::size_t>((k - low_k) / 2)]);
  }
};

template <typename Entry>
struct Checkpoint {
  std::int64_t pass = 0;
  std::int64_t low_k = 0;
  std::vector<Entry> entries;  // the range kept of W_pass

  explicit Checkpoint(std::int64_t kept_pass, const PassView<Entry>& kept)
      : pass(kept_pass),
        low_k(kept.low_k),
        entries(kept.entries.begin(), kept.entries.end()) {}

  PassView<Entry> view() const { return {entries, low_k}; }
};

// The recomputed part of the passes first_pass .. last_pass.
template <typename Entry>
struct Cone {
  std::int64_t first_pass = 0;
  std::int64_t last_pass = -1;
  std::vector<Entry> entries;
  std::vector<PassView<Entry>> passes;  // into entries
};

inline bool same_line(const CompareLine& left, const CompareLine& right) {
  return lines_equal(left, right);
}
inline bool same_line(std::uint32_t left, std::uint32_t right) {
  return left == right;
}

// The two lists, of line records or of line numbers. Numbers are compared
// far faster: each pass compares lines spread over both files, and two
// arrays of 4 bytes a line stay in cache where the records and their
// bytes do not.
template <typename Line>
struct Lists {
  std::span<const Line> left;
  std::span<const Line> right;
  std::int64_t a = static_cast<std::int64_t>(left.size());
  std::int64_t b = static_cast<std::int64_t>(right.size());

  bool equal(std::int64_t x, std::int64_t y) const {
    return same_line(left[static_cast<std::size_t>(x)],
                     right[static_cast<std::size_t>(y)]);
  }

  // Consecutive diagonals of a pass lie far apart in the files; asking
  // early for the numbers of a diagonal ahead hides most of the wait.
  void prefetch(std::int64_t x, std::int64_t y) const {
    if constexpr (std::is_same_v<Line, std::uint32_t>) {
      if (x < a && y < b) {
        __builtin_prefetch(&left[static_cast<std::size_t>(x)]);
        __builtin_prefetch(&right[static_cast<std::size_t>(y)]);
      }
    }
  }

  // Follows equal lines from (x, x - k); returns the x where they stop.
  std::int64_t follow(std::int64_t x, std::int64_t k) const {
    std::int64_t y = x - k;
    while (x < a && y < b && equal(x, y)) {
      ++x;
      ++y;
    }
    return x;
  }

  bool inside(std::int64_t x, std::int64_t k) const {
    return x <= a && x - k <= b;
  }
};

// A step of pass d onto a diagonal: the point of pass d - 1 it leaves and
// the x it starts from, before equal lines are followed.
struct Step {
  std::int64_t from_k = 0;
  std::int64_t from_x = 0;
  std::int64_t x = 0;
};

// The step rule, ties included; the search, the cone and the walk back
// all take their steps from here.
template <typename Entry>
inline Step step_onto(const PassView<Entry>& previous, std::int64_t d,
                      std::int64_t k) {
  if (k == -d || (k != d && previous.at(k - 1) < previous.at(k + 1))) {
    const std::int64_t x = previous.at(k + 1);
    return {.from_k = k + 1, .from_x = x, .x = x};
  }
  const std::int64_t x = previous.at(k - 1);
  return {.from_k = k - 1, .from_x = x, .x = x + 1};
}

// Diagonals low, low + 2, ..., high; empty when low > high.
struct Range {
  std::int64_t low = 0;
  std::int64_t high = -2;

  std::size_t size() const {
    return low > high ? 0 : static_cast<std::size_t>((high - low) / 2 + 1);
  }
};

// The diagonals of pass d within the window (both ends of the parity of
// d) whose steps read only entries of `previous`: the others read an
// outside point, or one that was not needed.
template <typename Entry>
Range next_range(const PassView<Entry>& previous, std::int64_t d,
                 Range window) {
  const std::int64_t low = previous.low_k == -(d - 1) ? -d : previous.low_k + 1;
  const std::int64_t high =
      previous.high_k() == d - 1 ? d : previous.high_k() - 1;
  return {std::max(low, window.low), std::min(high, window.high)};
}

// Diagonals ahead whose line numbers a pass asks for.
constexpr std::int64_t kPrefetchAhead = 16;

template <typename Entry>
struct PassOutcome {
  PassView<Entry> kept;
  bool reached_end = false;
  std::uint64_t followed = 0;  // equal lines followed
  // The point inside the lists with the largest x + y, as its x and k.
  std::int64_t furthest_x = 0;
  std::int64_t furthest_k = 0;
};

// Runs pass d over `range`, writing to `out`, and returns the part to keep:
// the range less the outside points at its two ends. Stops early when the
// pass reaches (a, b).
template <typename Entry, typename Line>
PassOutcome<Entry> run_pass(const Lists<Line>& lists,
                            const PassView<Entry>& previous, std::int64_t d,
                            Range range, std::span<Entry> out) {
  auto index = [&range](std::int64_t k) {
    return static_cast<std::size_t>((k - range.low) / 2);
  };
  std::uint64_t followed = 0;
  std::int64_t furthest_x = 0;
  std::int64_t furthest_k = 0;
  for (std::int64_t k = range.low; k <= range.high; k += 2) {
    if (const std::int64_t ahead = k + 2 * kPrefetchAhead;
        ahead <= range.high) {
      const std::int64_t start = step_onto(previous, d, ahead).x;
      lists.prefetch(start, start - ahead);
    }
    const std::int64_t start = step_onto(previous, d, k).x;
    const std::int64_t x = lists.follow(start, k);
    out[index(k)] = static_cast<Entry>(x);
    if (x >= lists.a && x - k >= lists.b) {
      return {.reached_end = true};
    }
    followed += static_cast<std::uint64_t>(x - start);
    if (lists.inside(x, k) && 2 * x - k > 2 * furthest_x - furthest_k) {
      furthest_x = x;
      furthest_k = k;
    }
  }
  auto inside = [&](std::int64_t k) {
    return lists.inside(static_cast<std::int64_t>(out[index(k)]), k);
  };
  std::int64_t low = range.low;
  std::int64_t high = range.high;
  while (low <= high && !inside(low)) low += 2;
  while (high > low && !inside(high)) high -= 2;
  const Range kept{low, high};
  return {.kept = {out.subspan(index(low), kept.size()), low},
          .followed = followed,
          .furthest_x = furthest_x,
          .furthest_k = furthest_k};
}

std::int64_t next_checkpoint(std::int64_t pass, std::uint64_t min_gap) {
  const double p = static_cast<double>(std::max<std::int64_t>(pass, 0));
  const auto grown = static_cast<std::uint64_t>(std::cbrt(p * p));
  return pass + static_cast<std::int64_t>(std::max(min_gap, grown));
}

// What the forward search found: D, or how far it had come when its work
// passed the limit.
struct SearchResult {
  std::int64_t passes = 0;
  std::optional<SearchProgress> gave_up_at;
};

// Forward search: leaves the kept passes in `checkpoints`, W_{D-1} last.
// Invariant: `kept` views, in `previous`, the range kept of W_{d-1}: the
// only entries pass d reads, so no pass copies a whole table.
template <typename Entry, typename Line>
SearchResult search(const Lists<Line>& lists, const SearchLimits& limits,
                    std::vector<Checkpoint<Entry>>& checkpoints) {
  std::vector<Entry> previous = {0};
  std::vector<Entry> current;
  PassView<Entry> kept = {previous, 1};
  checkpoints.emplace_back(-1, kept);
  std::int64_t next_kept = next_checkpoint(-1, limits.min_gap);
  SearchProgress progress;

  for (std::int64_t d = 0;; ++d) {
    const Range range = next_range(kept, d, {-d, d});
    current.resize(range.size());
    const PassOutcome<Entry> outcome =
        run_pass(lists, kept, d, range, std::span<Entry>(current));
    if (outcome.reached_end) {
      if (checkpoints.back().pass != d - 1) {
        checkpoints.emplace_back(d - 1, kept);
      }
      return {.passes = d};
    }
    kept = outcome.kept;
    std::swap(previous, current);
    progress.passes = d;
    progress.width = range.size();
    progress.furthest_x = outcome.furthest_x;
    progress.furthest_y = outcome.furthest_x - outcome.furthest_k;
    progress.steps += range.size();
    progress.work +=
        range.size() + limits.followed_line_steps * outcome.followed;
    if (progress.work >= limits.max_work) {
      return {.gave_up_at = progress};
    }
    if (d == next_kept) {
      checkpoints.emplace_back(d, kept);
      next_kept = next_checkpoint(d, limits.min_gap);
    }
  }
}

// Recomputes passes base.pass + 1 .. top - 1 on the diagonals that a walk
// standing in pass top on diagonal k can still read.
template <typename Entry, typename Line>
void build_cone(const Lists<Line>& lists, const Checkpoint<Entry>& base,
                std::int64_t top, std::int64_t k, Cone<Entry>& cone) {
  cone.first_pass = base.pass + 1;
  cone.last_pass = top - 1;
  cone.passes.clear();
  // k has the parity of top, so both ends of a window have that of pass j.
  auto window = [&](std::int64_t j) {
    return Range{std::max(-j, k - (top - j)), std::min(j, k + (top - j))};
  };
  std::size_t size = 0;
  for (std::int64_t j = cone.first_pass; j <= cone.last_pass; ++j) {
    size += window(j).size();
  }
  // Sized once, so that the view of the pass below stays valid.
  cone.entries.resize(size);
  std::span<Entry> free_entries(cone.entries);
  PassView<Entry> previous = base.view();
  for (std::int64_t j = cone.first_pass; j <= cone.last_pass; ++j) {
    const Range range = next_range(previous, j, window(j));
    previous =
        run_pass(lists, previous, j, range, free_entries.first(range.size()))
            .kept;
    cone.passes.push_back(previous);
    free_entries = free_entries.subspan(range.size());
  }
}

template <typename Entry, typename Line>
std::optional<CommonPairs> search_and_walk_back(const Lists<Line>& lists,
                                                const SearchLimits& limits,
                                                SearchProgress* gave_up_at) {
  std::vector<Checkpoint<Entry>> checkpoints;
  const SearchResult found = search<Entry>(lists, limits, checkpoints);
  if (found.gave_up_at) {
    if (gave_up_at != nullptr)
      *gave_up_at = *found.gave_up_at;
    return std::nullopt;
  }

  CommonPairs runs;
  Cone<Entry> cone;
  std::int64_t x = lists.a;
  std::int64_t y = lists.b;
  for (std::int64_t d = found.passes; d >= 0; --d) {
    const std::int64_t k = x - y;
    // W_{d-1}: a kept pass, or the cone recomputed from the kept pass below.
    while (checkpoints.back().pass > d - 1) {
      checkpoints.pop_back();  // no longer needed; frees its memory early
    }
    PassView<Entry> previous;
    if (checkpoints.back().pass == d - 1) {
      previous = checkpoints.back().view();
    } else {
      if (d - 1 < cone.first_pass || d - 1 > cone.last_pass) {
        build_cone(lists, checkpoints.back(), d, k, cone);
      }
      previous = cone.passes[static_cast<std::size_t>(d - 1 - cone.first_pass)];
    }
    const Step step = step_onto(previous, d, k);
    const std::int64_t px = step.from_x;
    const std::int64_t py = px - step.from_k;
    if (const std::int64_t length = std::min(x - px, y - py); length > 0) {
      runs.push_back({.left = static_cast<std::uint64_t>(x - length),
                      .right = static_cast<std::uint64_t>(y - length),
                      .length = static_cast<std::uint64_t>(length)});
    }
    x = px;
    y = py;
  }
  std::reverse(runs.begin(), runs.end());
  return runs;
}

template <typename Line>
std::optional<CommonPairs> search_lists(std::span<const Line> left,
                                        std::span<const Line> right,
                                        SearchLimits limits,
                                        SearchProgress* gave_up_at) {
  const Lists<Line> lists{left, right};
  limits.min_gap = std::max<std::uint64_t>(limits.min_gap, 1);
  // An entry never exceeds a + D <= 2 (a + b), so 32 bits do for all but
  // inputs of billions of lines, and halve the trace.
  const std::uint64_t total = left.size() + right.size();
  if (total < (std::uint64_t{1} << 31)) {
    return search_and_walk_back<std::uint32_t>(lists, limits, gave_up_at);
  }
  return search_and_walk_back<std::uint64_t>(lists, limits, gave_up_at);
}

}  // namespace

std::optional<CommonPairs> diagonal_search(Lines left, Lines right,
                                           const SearchLimits& limits,
                                           SearchProgress* gave_up_at) {
  return search_lists(left, right, limits, gave_up_at);
}

std::optional<CommonPairs> diagonal_search(std::span<const std::uint32_t> left,
                                           std::span<const std::uint32_t> right,
                                           const SearchLimits& limits,
                                           SearchProgress* gave_up_at) {
  return search_lists(left, right, limits, gave_up_at);
}

}  // namespace diff
