// The side-by-side listing on standard output.
#ifndef VRELSDIFF_SDIFF_SIDE_BY_SIDE_H_
#define VRELSDIFF_SDIFF_SIDE_BY_SIDE_H_

#include <string>

#include "cli/sdiff_options.h"
#include "io_utils/result.h"

namespace sdiff {

// Status 1 when a differing row was written, else 0.
io_utils::Result<int> run_side_by_side(const std::string& left_path,
                                       const std::string& right_path,
                                       const cli::sdiff::SdiffOptions& options);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_SIDE_BY_SIDE_H_
