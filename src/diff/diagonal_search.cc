// The greedy forward search over diagonals, its compact trace and the walk
// back that turns the trace into matched runs.
//
// A position (x, y) has consumed x left and y right lines; its diagonal is
// k = x - y. Pass d reaches, on each diagonal k = -d, -d + 2, ..., d, the
// largest x a script of d insertions and deletions can reach there; the
// search ends in the pass D whose furthest point is (a, b).
//
// Why a compact trace is exact: pass d reads only diagonals -(d - 1) to
// d - 1 of the parity of d - 1, and every one of those was last written by
// pass d - 1 (pass 0 reads the initial 0). So the d + 1 entries that pass d
// writes, W_d, are a function of W_{d-1} alone, and recomputing a pass from
// a kept earlier pass gives the same entries bit for bit. The walk back at
// pass d reads the table as it stood after pass d only at k - 1 and k + 1,
// which pass d did not touch (other parity), and the table after pass d - 1
// at the chosen diagonal: all three are entries of W_{d-1}. Hence keeping
// W_{d-1} for every d is enough to repeat every choice of the search.
//
// Keeping every W_d would still cost D^2 / 2 entries, so only some passes
// (checkpoints) are kept whole. The walk back recomputes the passes between
// two checkpoints, and only where it can still go: from pass d on diagonal
// k it moves one diagonal per pass, so of pass j < d it can read only
// diagonals k - (d - j) to k + (d - j). That cone is small, the gap between
// checkpoints grows as c^(2/3), and both the kept passes and the cone stay
// near D^(4/3) entries while the recomputation costs a fraction of the
// search.
#include "diff/diagonal_search.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

#include "diff/diagonal_search_internal.h"
#include "diff/line_classes.h"

namespace diff {
namespace {

using types::CompareLine;

// Entries of one pass over the diagonals low_k, low_k + 2, ...
template <typename Entry>
struct PassView {
  const Entry* data = nullptr;
  std::int64_t low_k = 0;

  std::int64_t at(std::int64_t k) const {
    return static_cast<std::int64_t>(
        data[static_cast<std::size_t>((k - low_k) / 2)]);
  }
};

template <typename Entry>
struct Checkpoint {
  std::int64_t pass = 0;
  std::vector<Entry> entries;  // W_pass whole: diagonals -pass .. pass
};

// The recomputed part of the passes first_pass .. last_pass.
template <typename Entry>
struct Cone {
  std::int64_t first_pass = 0;
  std::int64_t last_pass = -1;
  std::vector<Entry> entries;
  std::vector<std::int64_t> low_k;  // per pass
  std::vector<std::size_t> offset;  // per pass, into entries
};

struct Lists {
  Lines left;
  Lines right;
  std::int64_t a;
  std::int64_t b;
  // Filled once a search has run long enough: each pass then compares lines
  // spread over both files, and two small arrays of numbers stay in cache
  // where the line records and their bytes do not.
  LineClasses classes;

  bool equal(std::int64_t x, std::int64_t y) const {
    const auto i = static_cast<std::size_t>(x);
    const auto j = static_cast<std::size_t>(y);
    return classes.left.empty() ? lines_equal(left[i], right[j])
                                : classes.left[i] == classes.right[j];
  }

  // Consecutive diagonals of a pass lie far apart in the files; asking
  // early for the numbers of a diagonal ahead hides most of the wait.
  void prefetch(std::int64_t x, std::int64_t y) const {
    if (!classes.left.empty() && x < a && y < b) {
      __builtin_prefetch(&classes.left[static_cast<std::size_t>(x)]);
      __builtin_prefetch(&classes.right[static_cast<std::size_t>(y)]);
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
};

// The x that pass d starts from on diagonal k, given W_{d-1}: a step down
// from k + 1 at the lower edge or when k + 1 is further, else a step right
// from k - 1 (ties included).
template <typename Entry>
std::int64_t step_start(const PassView<Entry>& previous, std::int64_t d,
                        std::int64_t k) {
  if (k == -d || (k != d && previous.at(k - 1) < previous.at(k + 1))) {
    return previous.at(k + 1);
  }
  return previous.at(k - 1) + 1;
}

// Diagonals ahead whose line numbers the forward search asks for.
constexpr std::int64_t kPrefetchAhead = 16;

constexpr std::int64_t kMaxNumberedLines = std::int64_t{1} << 32;

std::int64_t next_checkpoint(std::int64_t pass, std::uint64_t min_gap) {
  const double p = static_cast<double>(pass);
  const auto grown = static_cast<std::uint64_t>(std::cbrt(p * p));
  return pass + static_cast<std::int64_t>(std::max(min_gap, grown));
}

// Forward search: returns D and leaves the kept passes in `checkpoints`,
// W_{D-1} last when D > 0. Invariant: `previous` holds exactly W_{d-1}, the
// only entries pass d reads, so no pass copies the whole table.
template <typename Entry>
std::int64_t search(Lists& lists, std::uint64_t min_gap,
                    std::vector<Checkpoint<Entry>>& checkpoints) {
  const std::int64_t a = lists.a;
  const std::int64_t b = lists.b;
  const std::int64_t total_lines = a + b;
  std::vector<Entry> previous;
  std::vector<Entry> current;

  const std::int64_t x0 = lists.follow(0, 0);
  if (x0 >= a && x0 >= b) {
    return 0;
  }
  current.push_back(static_cast<Entry>(x0));
  checkpoints.push_back({.pass = 0, .entries = current});
  std::int64_t next_kept = next_checkpoint(0, min_gap);

  for (std::int64_t d = 1;; ++d) {
    std::swap(previous, current);
    current.resize(static_cast<std::size_t>(d) + 1);
    const Entry* prev = previous.data();
    Entry* out = current.data();
    // Diagonal k = -d + 2i reads W_{d-1} at k - 1 (index i - 1) and k + 1
    // (index i).
    for (std::int64_t i = 0; i <= d; ++i) {
      const std::int64_t k = 2 * i - d;
      if (const std::int64_t j = i + kPrefetchAhead; j < d) {
        const std::int64_t start =
            std::max(static_cast<std::int64_t>(prev[j - 1]) + 1,
                     static_cast<std::int64_t>(prev[j]));
        lists.prefetch(start, start - (2 * j - d));
      }
      std::int64_t x;
      if (i == 0) {
        x = static_cast<std::int64_t>(prev[0]);
      } else if (i == d) {
        x = static_cast<std::int64_t>(prev[i - 1]) + 1;
      } else {
        const auto lower = prev[i - 1];
        const auto upper = prev[i];
        x = lower < upper ? static_cast<std::int64_t>(upper)
                          : static_cast<std::int64_t>(lower) + 1;
      }
      x = lists.follow(x, k);
      out[i] = static_cast<Entry>(x);
      if (x >= a && x - k >= b) {
        checkpoints.push_back({.pass = d - 1, .entries = std::move(previous)});
        return d;
      }
    }
    // Numbering the lines costs about a sort of a + b keys; a search that
    // has run this long has spent about as much, and usually has as far to
    // go. Short searches never pay for it.
    if (lists.classes.left.empty() && total_lines < kMaxNumberedLines &&
        d * d >= 2 * total_lines) {
      lists.classes = line_classes(lists.left, lists.right);
    }
    if (d == next_kept) {
      checkpoints.push_back({.pass = d, .entries = current});
      next_kept = next_checkpoint(d, min_gap);
    }
  }
}

// Recomputes passes base.pass + 1 .. top - 1 on the diagonals that a walk
// standing in pass top on diagonal k can still read.
template <typename Entry>
void build_cone(const Lists& lists, const Checkpoint<Entry>& base,
                std::int64_t top, std::int64_t k, Cone<Entry>& cone) {
  cone.first_pass = base.pass + 1;
  cone.last_pass = top - 1;
  cone.low_k.clear();
  cone.offset.clear();
  std::size_t size = 0;
  for (std::int64_t j = cone.first_pass; j <= cone.last_pass; ++j) {
    // k has the parity of top, so both ends have the parity of j.
    const std::int64_t low = std::max(-j, k - (top - j));
    const std::int64_t high = std::min(j, k + (top - j));
    cone.low_k.push_back(low);
    cone.offset.push_back(size);
    size += static_cast<std::size_t>((high - low) / 2 + 1);
  }
  // Sized once, so that the view of the pass below stays valid.
  cone.entries.resize(size);
  PassView<Entry> previous{base.entries.data(), -base.pass};
  for (std::int64_t j = cone.first_pass; j <= cone.last_pass; ++j) {
    const auto index = static_cast<std::size_t>(j - cone.first_pass);
    const std::int64_t low = cone.low_k[index];
    const std::int64_t high = std::min(j, k + (top - j));
    Entry* out = cone.entries.data() + cone.offset[index];
    for (std::int64_t kk = low; kk <= high; kk += 2) {
      *out++ =
          static_cast<Entry>(lists.follow(step_start(previous, j, kk), kk));
    }
    previous = {cone.entries.data() + cone.offset[index], low};
  }
}

template <typename Entry>
CommonPairs search_and_walk_back(Lists& lists, std::uint64_t min_gap) {
  std::vector<Checkpoint<Entry>> checkpoints;
  const std::int64_t passes = search<Entry>(lists, min_gap, checkpoints);

  CommonPairs runs;
  Cone<Entry> cone;
  std::int64_t x = lists.a;
  std::int64_t y = lists.b;
  auto record = [&runs](std::int64_t from_x, std::int64_t from_y,
                        std::int64_t to_x, std::int64_t to_y) {
    const std::int64_t length = std::min(to_x - from_x, to_y - from_y);
    if (length > 0) {
      runs.push_back({.left = static_cast<std::uint64_t>(to_x - length),
                      .right = static_cast<std::uint64_t>(to_y - length),
                      .length = static_cast<std::uint64_t>(length)});
    }
  };
  for (std::int64_t d = passes; d > 0; --d) {
    const std::int64_t k = x - y;
    // W_{d-1}: a kept pass, or the cone recomputed from the kept pass below.
    while (checkpoints.back().pass > d - 1) {
      checkpoints.pop_back();  // no longer needed; frees its memory early
    }
    PassView<Entry> previous;
    if (checkpoints.back().pass == d - 1) {
      previous = {checkpoints.back().entries.data(), -(d - 1)};
    } else {
      if (d - 1 < cone.first_pass || d - 1 > cone.last_pass) {
        build_cone(lists, checkpoints.back(), d, k, cone);
      }
      const auto index = static_cast<std::size_t>(d - 1 - cone.first_pass);
      previous = {cone.entries.data() + cone.offset[index], cone.low_k[index]};
    }
    const bool down =
        k == -d || (k != d && previous.at(k - 1) < previous.at(k + 1));
    const std::int64_t p = down ? k + 1 : k - 1;
    const std::int64_t px = previous.at(p);
    const std::int64_t py = px - p;
    record(px, py, x, y);
    x = px;
    y = py;
  }
  // Pass 0 started from (0, -1) in effect: its run begins at the top.
  record(0, -1, x, y);
  std::reverse(runs.begin(), runs.end());
  return runs;
}

}  // namespace

CommonPairs myers_common_pairs_with_gap(Lines left, Lines right,
                                        std::uint64_t min_gap) {
  Lists lists{left, right, static_cast<std::int64_t>(left.size()),
              static_cast<std::int64_t>(right.size())};
  min_gap = std::max<std::uint64_t>(min_gap, 1);
  // An entry never exceeds a + D <= 2 (a + b), so 32 bits do for all but
  // inputs of billions of lines, and halve the trace.
  const std::uint64_t total = left.size() + right.size();
  if (total < (std::uint64_t{1} << 31)) {
    return search_and_walk_back<std::uint32_t>(lists, min_gap);
  }
  return search_and_walk_back<std::uint64_t>(lists, min_gap);
}

CommonPairs myers_common_pairs(Lines left, Lines right) {
  return myers_common_pairs_with_gap(left, right, kMinCheckpointGap);
}

}  // namespace diff
