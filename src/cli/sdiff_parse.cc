#include "cli/process_args.h"
#include "cli/sdiff.h"

namespace cli::sdiff {

SdiffOptions parse_args() { return parse_args_from(process_arguments()); }

SdiffOptions parse_args_from(const std::vector<std::string>& args) {
  SdiffOptions options;
  for (std::size_t i = 1; i < args.size(); ++i) options.files.push_back(args[i]);
  return options;  // TODO
}

std::size_t parse_long_with_value(SdiffOptions& options, std::string_view name,
                                  std::string_view value,
                                  std::size_t value_position) {
  (void)options;
  (void)name;
  (void)value;
  return value_position + 1;  // TODO
}

}  // namespace cli::sdiff
