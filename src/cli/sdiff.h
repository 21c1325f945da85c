// The tool's own command line: its options record, parser, checks, help and
// version.
#ifndef VRELSDIFF_CLI_SDIFF_H_
#define VRELSDIFF_CLI_SDIFF_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/diff_options.h"

namespace cli::sdiff {

// The parsed command line. Fields follow the order of the help text, the
// operands last.
struct SdiffOptions {
  std::optional<std::string> output;   // -o, --output
  std::uint64_t width = 130;           // -w, -W, --width; kept within 20..500
  bool left_column = false;            // -l, --left-column
  bool suppress_common_lines = false;  // -s, --suppress-common-lines
  bool expand_tabs = false;            // -t, --expand-tabs
  std::uint64_t tabsize = 8;           // --tabsize; checked to be 1..32
  bool ignore_case = false;            // -i, --ignore-case
  bool ignore_tab_expansion = false;   // -E, --ignore-tab-expansion
  bool ignore_trailing_space = false;  // -Z, --ignore-trailing-space
  bool ignore_space_change = false;    // -b, --ignore-space-change
  bool ignore_all_space = false;       // --ignore-all-space
  bool ignore_blank_lines = false;     // -B, --ignore-blank-lines
  bool text = false;                   // -a, --text; no effect
  bool strip_trailing_cr = false;      // --strip-trailing-cr
  std::optional<std::string> diff_program;  // -d, --diff-program; no effect
  bool help = false;                        // -h, --help
  bool version = false;                     // -v, --version
  bool verbose = false;                     // --verbose; no effect
  bool minimal = false;                     // --minimal; no effect
  bool speed_large_files = false;           // --speed-large-files; no effect
  std::uint64_t horizon_lines = 0;          // --horizon-lines; no effect
  std::vector<std::string> files;           // operands, as typed

  DiffOptions to_diff_options() const;

  // The first failing range or operand-count test, as a message without the
  // program name.
  std::optional<std::string> validate() const;
};

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
