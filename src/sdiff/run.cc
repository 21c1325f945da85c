// The comparison driver: operand checks, the same-file shortcut, the mode.
#include "sdiff/run.h"

#include <sys/stat.h>

#include <string>
#include <utility>

#include "diff/operands.h"
#include "io_utils/same_file.h"
#include "sdiff/merge.h"
#include "sdiff/side_by_side.h"

namespace sdiff {
namespace {

using io_utils::DiffError;
using io_utils::Result;

std::string stdin_if_dash(std::string path) {
  return path == "-" ? std::string("/dev/stdin") : std::move(path);
}

}  // namespace

Result<int> run(cli::sdiff::SdiffOptions options) {
  const cli::DiffOptions diff_options = options.to_diff_options();
  auto operands = diff::resolve_file_args(diff_options);
  if (!operands.ok())
    return std::move(operands.error());
  const std::string left = stdin_if_dash(std::move(operands.value().first));
  const std::string right = stdin_if_dash(std::move(operands.value().second));

  // Both existence tests come before either directory test.
  struct stat left_status;
  struct stat right_status;
  if (::stat(left.c_str(), &left_status) != 0) {
    return DiffError::not_found(left);
  }
  if (::stat(right.c_str(), &right_status) != 0) {
    return DiffError::not_found(right);
  }
  if (S_ISDIR(left_status.st_mode))
    return DiffError::is_directory(left);
  if (S_ISDIR(right_status.st_mode))
    return DiffError::is_directory(right);

  // Two names of one file: nothing to show, nothing read, no output written.
  if (io_utils::same_file(left, right))
    return 0;

  if (!options.output)
    return run_side_by_side(left, right, options);
  return run_interactive_merge(left, right, options);
}

}  // namespace sdiff
