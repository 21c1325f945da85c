#include "cli/sdiff.h"

namespace cli::sdiff {

DiffOptions SdiffOptions::to_diff_options() const { return DiffOptions{files}; }

std::optional<std::string> SdiffOptions::validate() const {
  return std::nullopt;  // TODO
}

}  // namespace cli::sdiff
