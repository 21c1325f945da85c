// CommonPairs: the matched lines of a comparison, and the line equality.
#ifndef VRELSDIFF_DIFF_COMMON_PAIRS_H_
#define VRELSDIFF_DIFF_COMMON_PAIRS_H_

#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "types/compare_line.h"

namespace diff {

// A read-only list of compared lines.
using Lines = std::span<const types::CompareLine>;

// `length` matched pairs (left + t, right + t) for t = 0 .. length - 1, with
// 0-based indices. Two large files that differ in a few places share a
// handful of long runs, so a run costs far less than a pair per line.
struct CommonRun {
  std::uint64_t left = 0;
  std::uint64_t right = 0;
  std::uint64_t length = 0;

  bool operator==(const CommonRun&) const = default;
};

// The matched pairs as runs in increasing order; every run is non-empty and
// both indices increase strictly from the last pair of one run to the first
// pair of the next.
using CommonPairs = std::vector<CommonRun>;

// Line equality: byte lengths first, then the bytes of the normalised forms.
inline bool lines_equal(const types::CompareLine& left,
                        const types::CompareLine& right) {
  const std::string_view l = left.normalized;
  const std::string_view r = right.normalized;
  return l.size() == r.size() && std::memcmp(l.data(), r.data(), l.size()) == 0;
}

}  // namespace diff

#endif  // VRELSDIFF_DIFF_COMMON_PAIRS_H_
