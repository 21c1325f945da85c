// SdiffOptions: the tool's parsed command line as a plain record.
#ifndef VRELSDIFF_CLI_SDIFF_OPTIONS_H_
#define VRELSDIFF_CLI_SDIFF_OPTIONS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/diff_options.h"

namespace cli::sdiff {

// A width outside kMinWidth..kMaxWidth columns is brought within them by the
// parser and refused by SdiffOptions::validate; a width or tab size that is
// no number gives the default.
inline constexpr std::uint64_t kDefaultWidth = 130;
inline constexpr std::uint64_t kMinWidth = 20;
inline constexpr std::uint64_t kMaxWidth = 500;
inline constexpr std::uint64_t kDefaultTabsize = 8;

// The parsed command line. Fields follow the order of the help text, the
// operands last.
struct SdiffOptions {
  std::optional<std::string> output;        // -o, --output
  std::uint64_t width = kDefaultWidth;      // -w, -W, --width
  bool left_column = false;                 // -l, --left-column
  bool suppress_common_lines = false;       // -s, --suppress-common-lines
  bool expand_tabs = false;                 // -t, --expand-tabs
  std::uint64_t tabsize = kDefaultTabsize;  // --tabsize; checked to be 1..32
  bool ignore_case = false;                 // -i, --ignore-case
  bool ignore_tab_expansion = false;        // -E, --ignore-tab-expansion
  bool ignore_trailing_space = false;       // -Z, --ignore-trailing-space
  bool ignore_space_change = false;         // -b, --ignore-space-change
  bool ignore_all_space = false;            // --ignore-all-space
  bool ignore_blank_lines = false;          // -B, --ignore-blank-lines
  bool text = false;                        // -a, --text; no effect
  bool strip_trailing_cr = false;           // --strip-trailing-cr
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

}  // namespace cli::sdiff

#endif  // VRELSDIFF_CLI_SDIFF_OPTIONS_H_
