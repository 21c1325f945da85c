// A rolling hash of every run of kLongRun line numbers. The right list's
// runs go into a table; each left run found there marks its slot, and the
// right runs whose slot is marked are the right list's share.
#include "diff/long_runs.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace diff {
namespace {

constexpr std::uint64_t kBase = 0x9e37'79b9'7f4a'7c15;  // odd

// kBase^kLongRun, the weight of the line that leaves a run as the next
// one enters.
constexpr std::uint64_t leaving_weight() {
  std::uint64_t weight = 1;
  for (std::uint64_t i = 0; i < kLongRun; ++i) weight *= kBase;
  return weight;
}

// Calls `take(start, hash)` for the run at each start, in order.
template <typename Take>
void for_each_run(std::span<const std::uint32_t> lines, Take take) {
  constexpr std::uint64_t kLeaving = leaving_weight();
  std::uint64_t hash = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    hash = hash * kBase + lines[i] + 1;
    if (i >= kLongRun)
      hash -= kLeaving * (lines[i - kLongRun] + std::uint64_t{1});
    if (i + 1 >= kLongRun)
      take(i + 1 - kLongRun, hash);
  }
}

// Open addressing over the hashes of the right list's runs, with where
// each first starts. A key is a hash with its low bit set, 0 when free;
// the next bit marks a run that the left list holds too.
struct RunTable {
  static constexpr std::uint64_t kUsed = 1;
  static constexpr std::uint64_t kOnBothSides = 2;

  std::vector<std::uint64_t> keys;
  std::vector<std::uint64_t> starts;

  explicit RunTable(std::size_t runs) {
    std::size_t size = 2;
    while (size < 2 * runs) size *= 2;
    keys.assign(size, 0);
    starts.assign(size, 0);
  }

  static std::uint64_t key_of(std::uint64_t hash) {
    return (hash & ~kOnBothSides) | kUsed;
  }

  // The slot of `hash`, or the free slot where it belongs.
  std::size_t slot(std::uint64_t hash) const {
    const std::uint64_t key = key_of(hash);
    const std::size_t mask = keys.size() - 1;
    // The low bits of a polynomial hash over 2^64 mix least.
    for (std::size_t i = (hash >> 20) & mask;; i = (i + 1) & mask) {
      if (keys[i] == 0 || (keys[i] & ~kOnBothSides) == key)
        return i;
    }
  }

  void insert(std::uint64_t hash, std::uint64_t start) {
    const std::size_t i = slot(hash);
    if (keys[i] == 0) {
      keys[i] = key_of(hash);
      starts[i] = start;
    }
  }
};

// The lines of runs taken in order of their starts, each line once however
// many runs hold it: in all, and before `before`.
struct CoveredLines {
  std::uint64_t before;
  std::uint64_t all = 0;
  std::uint64_t in_front = 0;
  std::uint64_t counted_to = 0;

  void take(std::uint64_t start) {
    const std::uint64_t from = std::max(start, counted_to);
    const std::uint64_t end = start + kLongRun;
    all += end - from;
    if (from < before)
      in_front += std::min(end, before) - from;
    counted_to = end;
  }
};

}  // namespace

LongRunLines lines_in_long_common_runs(std::span<const std::uint32_t> left,
                                       std::span<const std::uint32_t> right,
                                       std::uint64_t left_before,
                                       std::uint64_t right_before,
                                       std::int64_t low_diagonal,
                                       std::int64_t high_diagonal) {
  if (left.size() < kLongRun || right.size() < kLongRun)
    return {};
  RunTable table(right.size() - kLongRun + 1);
  for_each_run(right, [&table](std::size_t start, std::uint64_t hash) {
    table.insert(hash, start);
  });
  CoveredLines on_left{.before = left_before};
  for_each_run(left, [&](std::size_t start, std::uint64_t hash) {
    const std::size_t i = table.slot(hash);
    if (table.keys[i] == 0)
      return;
    const std::int64_t diagonal = static_cast<std::int64_t>(start) -
                                  static_cast<std::int64_t>(table.starts[i]);
    if (diagonal < low_diagonal || diagonal > high_diagonal)
      return;
    table.keys[i] |= RunTable::kOnBothSides;
    on_left.take(start);
  });
  CoveredLines on_right{.before = right_before};
  for_each_run(right, [&](std::size_t start, std::uint64_t hash) {
    if (table.keys[table.slot(hash)] & RunTable::kOnBothSides)
      on_right.take(start);
  });
  return {.left = on_left.all,
          .left_before = on_left.in_front,
          .right = on_right.all,
          .right_before = on_right.in_front};
}

}  // namespace diff
