// CommonPairs: the matched lines of a comparison.
#ifndef VRELSDIFF_DIFF_COMMON_PAIRS_H_
#define VRELSDIFF_DIFF_COMMON_PAIRS_H_

#include <cstdint>
#include <utility>
#include <vector>

#include "types/compare_line.h"

namespace diff {

// (left index, right index), 0-based; both strictly increasing along the list.
using CommonPairs = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

// Line equality: byte lengths first, then bytes of the normalised forms.
inline bool lines_equal(const types::CompareLine& left,
                        const types::CompareLine& right) {
  return left.normalized.size() == right.normalized.size() &&
         left.normalized == right.normalized;
}

}  // namespace diff

#endif  // VRELSDIFF_DIFF_COMMON_PAIRS_H_
