#include "sdiff/rows.h"

namespace sdiff {

io_utils::Result<std::vector<SdiffLine>> generate_sdiff_lines(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options) {
  (void)left_path;
  (void)right_path;
  (void)options;
  return std::vector<SdiffLine>{};  // TODO
}

}  // namespace sdiff
