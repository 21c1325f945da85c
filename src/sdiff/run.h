// The comparison driver: from a validated command line to the chosen mode.
#ifndef VRELSDIFF_SDIFF_RUN_H_
#define VRELSDIFF_SDIFF_RUN_H_

#include "cli/sdiff_options.h"
#include "io_utils/result.h"

namespace sdiff {

io_utils::Result<int> run(cli::sdiff::SdiffOptions options);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_RUN_H_
