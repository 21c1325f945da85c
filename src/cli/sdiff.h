// The tool's own command line: its parser, checks, help and version, over
// the options record of cli/sdiff_options.h.
#ifndef VRELSDIFF_CLI_SDIFF_H_
#define VRELSDIFF_CLI_SDIFF_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/sdiff_options.h"

namespace cli::sdiff {

// Parses the process arguments (argument 0 is never examined). Usage errors,
// and an argument that is not UTF-8, are printed here and end the process
// with status 2.
SdiffOptions parse_args();
SdiffOptions parse_args_from(const std::vector<std::string>& args);

// Applies one value-taking long option and returns `value_position` + 1.
std::size_t parse_long_with_value(SdiffOptions& options, std::string_view name,
                                  std::string_view value,
                                  std::size_t value_position);

// Checks that each operand other than "-" exists and is not a directory.
std::optional<std::string> validate_files(const SdiffOptions& options);

// Checks that the output path's parent exists and the path is no directory.
std::optional<std::string> validate_output(const SdiffOptions& options);

// parse_args, then help, version or the checks; returns a validated record
// or ends the process.
SdiffOptions handle_args();

// Write the help or version text to standard output in the language of the
// locale variables. A failed write is reported and ends the process with
// status 2.
void print_help();
void print_version();

}  // namespace cli::sdiff

#endif  // VRELSDIFF_CLI_SDIFF_H_
