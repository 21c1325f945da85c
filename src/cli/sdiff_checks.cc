#include "cli/sdiff.h"

namespace cli::sdiff {

std::optional<std::string> validate_files(const SdiffOptions& options) {
  (void)options;
  return std::nullopt;  // TODO
}

std::optional<std::string> validate_output(const SdiffOptions& options) {
  (void)options;
  return std::nullopt;  // TODO
}

SdiffOptions handle_args() { return parse_args(); }

}  // namespace cli::sdiff
