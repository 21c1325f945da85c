#include "io_utils/read_lines.h"

#include "io_utils/normalize.h"

namespace io_utils {

Result<std::vector<std::string>> read_file_lines(const std::string& path) {
  return DiffError::not_found(path);  // TODO
}

Result<std::vector<types::CompareLine>> read_and_normalize(
    const std::string& path, const CompareOptions& options) {
  (void)options;
  return DiffError::not_found(path);  // TODO
}

}  // namespace io_utils
