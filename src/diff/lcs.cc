#include "diff/lcs.h"

namespace diff {

CommonPairs lcs_common_pairs(const std::vector<types::CompareLine>& left,
                             const std::vector<types::CompareLine>& right) {
  (void)left;
  (void)right;
  return {};  // TODO
}

}  // namespace diff
