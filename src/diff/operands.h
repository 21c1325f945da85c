// The two file operands of a comparison.
#ifndef VRELSDIFF_DIFF_OPERANDS_H_
#define VRELSDIFF_DIFF_OPERANDS_H_

#include <string>
#include <utility>

#include "cli/diff_options.h"
#include "io_utils/result.h"

namespace diff {

// Copies of the first two operands, unchanged ("-" stays "-").
io_utils::Result<std::pair<std::string, std::string>> resolve_file_args(
    const cli::DiffOptions& options);

}  // namespace diff

#endif  // VRELSDIFF_DIFF_OPERANDS_H_
