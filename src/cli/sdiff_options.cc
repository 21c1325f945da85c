// The options record's derived settings.
#include "cli/sdiff_options.h"

namespace cli::sdiff {

DiffOptions SdiffOptions::to_diff_options() const {
  return DiffOptions{files};
}

}  // namespace cli::sdiff
