#include "sdiff/merge.h"

namespace sdiff {

io_utils::Result<int> run_interactive_merge(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options) {
  (void)left_path;
  (void)right_path;
  (void)options;
  return 0;  // TODO
}

}  // namespace sdiff
