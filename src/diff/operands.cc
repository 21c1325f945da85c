// Taking the two file operands from the general settings.
#include "diff/operands.h"

namespace diff {

io_utils::Result<std::pair<std::string, std::string>> resolve_file_args(
    const cli::DiffOptions& options) {
  if (options.files.size() < 2) {
    return io_utils::DiffError::message("Two file arguments required");
  }
  return std::pair{options.files[0], options.files[1]};
}

}  // namespace diff
