// The hand-written argument walk: long options, bundles of short letters,
// operands, and the usage messages of each.
#include <cstdint>
#include <string>

#include "cli/process.h"
#include "cli/process_args.h"
#include "cli/sdiff.h"
#include "io_utils/utf8.h"

namespace cli::sdiff {
namespace {

constexpr std::uint64_t kDefaultHorizonLines = 0;

bool is_ascii_digits(std::string_view text) {
  if (text.empty())
    return false;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
  }
  return true;
}

// An optional "+" and ASCII digits whose value fits in 64 bits.
std::optional<std::uint64_t> parse_number(std::string_view text) {
  if (text.starts_with('+'))
    text.remove_prefix(1);
  if (!is_ascii_digits(text))
    return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10)
      return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

std::uint64_t width_from(std::string_view text) {
  const std::optional<std::uint64_t> number = parse_number(text);
  if (!number)
    return kDefaultWidth;
  if (*number < kMinWidth)
    return kMinWidth;
  if (*number > kMaxWidth)
    return kMaxWidth;
  return *number;
}

// The flag options: the field each sets, by long name and short letter
// ('\0' where there is none).
struct FlagOption {
  std::string_view name;
  char letter;
  bool SdiffOptions::*field;
};

constexpr FlagOption kFlagOptions[] = {
    {"left-column", 'l', &SdiffOptions::left_column},
    {"suppress-common-lines", 's', &SdiffOptions::suppress_common_lines},
    {"expand-tabs", 't', &SdiffOptions::expand_tabs},
    {"ignore-case", 'i', &SdiffOptions::ignore_case},
    {"ignore-tab-expansion", 'E', &SdiffOptions::ignore_tab_expansion},
    {"ignore-trailing-space", 'Z', &SdiffOptions::ignore_trailing_space},
    {"ignore-space-change", 'b', &SdiffOptions::ignore_space_change},
    {"ignore-all-space", '\0', &SdiffOptions::ignore_all_space},
    {"ignore-blank-lines", 'B', &SdiffOptions::ignore_blank_lines},
    {"text", 'a', &SdiffOptions::text},
    {"strip-trailing-cr", '\0', &SdiffOptions::strip_trailing_cr},
    {"help", 'h', &SdiffOptions::help},
    {"version", 'v', &SdiffOptions::version},
    {"verbose", '\0', &SdiffOptions::verbose},
    {"minimal", '\0', &SdiffOptions::minimal},
    {"speed-large-files", '\0', &SdiffOptions::speed_large_files},
};

// Sets the flag a long name stands for; false when the name is no flag.
bool set_long_flag(SdiffOptions& options, std::string_view name) {
  for (const FlagOption& flag : kFlagOptions) {
    if (flag.name == name) {
      options.*flag.field = true;
      return true;
    }
  }
  return false;
}

bool set_short_flag(SdiffOptions& options, char letter) {
  for (const FlagOption& flag : kFlagOptions) {
    if (flag.letter != '\0' && flag.letter == letter) {
      options.*flag.field = true;
      return true;
    }
  }
  return false;
}

bool is_value_name(std::string_view name) {
  return name == "width" || name == "output" || name == "tabsize" ||
         name == "diff-program" || name == "horizon-lines";
}

[[noreturn]] void requires_argument(std::string_view option) {
  exit_with_error("option '" + std::string(option) + "' requires an argument");
}

// The whole character that starts at `pos`, as typed: the arguments are
// valid UTF-8 by now, so it runs up to the next byte that starts one.
std::string_view character_at(std::string_view text, std::size_t pos) {
  std::size_t end = pos + 1;
  while (end < text.size() && io_utils::is_continuation_byte(text[end])) {
    ++end;
  }
  return text.substr(pos, end - pos);
}

// Walks one bundle of short options at `args[pos]` and returns the position
// of the next argument to examine.
std::size_t parse_bundle(SdiffOptions& options,
                         const std::vector<std::string>& args,
                         std::size_t pos) {
  const std::string_view bundle = args[pos];
  const bool has_next = pos + 1 < args.size();
  for (std::size_t i = 1; i < bundle.size();) {
    const char letter = bundle[i];
    const std::string_view rest = bundle.substr(i + 1);
    if (letter == 'o' || letter == 'd') {
      std::optional<std::string>& field =
          letter == 'o' ? options.output : options.diff_program;
      if (!rest.empty()) {
        field = std::string(rest);
        return pos + 1;
      }
      if (!has_next)
        requires_argument(letter == 'o' ? "-o" : "-d");
      field = args[pos + 1];
      return pos + 2;
    }
    if (letter == 'w' || letter == 'W') {
      // A rest that is not all digits is dropped whole, letters included.
      if (is_ascii_digits(rest)) {
        options.width = width_from(rest);
        return pos + 1;
      }
      if (!has_next || !is_ascii_digits(args[pos + 1])) {
        requires_argument(std::string("-") + letter);
      }
      options.width = width_from(args[pos + 1]);
      return pos + 2;
    }
    if (!set_short_flag(options, letter)) {
      exit_with_error(
          "invalid option -- '" + std::string(character_at(bundle, i)) + "'",
          /*with_try_help=*/true);
    }
    ++i;
  }
  return pos + 1;
}

// Walks one argument that begins with "--" and is longer.
std::size_t parse_long(SdiffOptions& options,
                       const std::vector<std::string>& args, std::size_t pos) {
  const std::string_view name_part = std::string_view(args[pos]).substr(2);
  if (const std::size_t eq = name_part.find('='); eq != name_part.npos) {
    parse_long_with_value(options, name_part.substr(0, eq),
                          name_part.substr(eq + 1), pos);
    return pos + 1;
  }
  if (set_long_flag(options, name_part))
    return pos + 1;
  if (is_value_name(name_part)) {
    if (pos + 1 >= args.size()) {
      requires_argument("--" + std::string(name_part));
    }
    return parse_long_with_value(options, name_part, args[pos + 1], pos + 1);
  }
  exit_with_error("unrecognized option '--" + std::string(name_part) + "'",
                  /*with_try_help=*/true);
}

// Arguments are handled as text, so one that is not UTF-8 ends the run
// before any of them is acted on.
void require_utf8_arguments(const std::vector<std::string>& args) {
  for (std::size_t pos = 1; pos < args.size(); ++pos) {
    if (!io_utils::is_valid_utf8(args[pos])) {
      exit_with_error("argument " + std::to_string(pos) +
                      " is not valid UTF-8");
    }
  }
}

}  // namespace

SdiffOptions parse_args() {
  return parse_args_from(process_arguments());
}

SdiffOptions parse_args_from(const std::vector<std::string>& args) {
  require_utf8_arguments(args);
  SdiffOptions options;
  bool end_of_options = false;
  std::size_t pos = 1;
  while (pos < args.size()) {
    const std::string& arg = args[pos];
    if (end_of_options || arg.empty() || arg[0] != '-' || arg == "-") {
      options.files.push_back(arg);
      ++pos;
    } else if (arg == "--") {
      end_of_options = true;
      ++pos;
    } else if (arg.starts_with("--")) {
      pos = parse_long(options, args, pos);
    } else {
      pos = parse_bundle(options, args, pos);
    }
  }
  return options;
}

std::size_t parse_long_with_value(SdiffOptions& options, std::string_view name,
                                  std::string_view value,
                                  std::size_t value_position) {
  if (name == "width") {
    options.width = width_from(value);
  } else if (name == "output") {
    options.output = std::string(value);
  } else if (name == "tabsize") {
    options.tabsize = parse_number(value).value_or(kDefaultTabsize);
  } else if (name == "diff-program") {
    options.diff_program = std::string(value);
  } else if (name == "horizon-lines") {
    options.horizon_lines = parse_number(value).value_or(kDefaultHorizonLines);
  } else {
    exit_with_error("unrecognized option '--" + std::string(name) + "'");
  }
  return value_position + 1;
}

}  // namespace cli::sdiff
