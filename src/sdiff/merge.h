// The interactive merge: walk the differing rows with the user, then write
// the merged file.
#ifndef VRELSDIFF_SDIFF_MERGE_H_
#define VRELSDIFF_SDIFF_MERGE_H_

#include <string>

#include "cli/sdiff_options.h"
#include "io_utils/result.h"

namespace sdiff {

// REQUIRES: options.output is present.
io_utils::Result<int> run_interactive_merge(
    const std::string& left_path, const std::string& right_path,
    const cli::sdiff::SdiffOptions& options);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_MERGE_H_
