// The checks of a parsed command line, and handle_args, which runs them.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "cli/process.h"
#include "cli/sdiff.h"

namespace cli::sdiff {
namespace {

constexpr std::uint64_t kMinTabsize = 1;
constexpr std::uint64_t kMaxTabsize = 32;

// The file status with links followed, or nothing when it cannot be had.
std::optional<struct stat> file_status(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0)
    return std::nullopt;
  return status;
}

bool is_directory(const struct stat& status) {
  return S_ISDIR(status.st_mode);
}

// The path without its last component, or nothing for "/" and "". Repeated
// and trailing "/" count for nothing, and so does a "." anywhere but at the
// start; a single component has the empty parent.
std::optional<std::string> parent_path(std::string_view path) {
  const bool absolute = path.starts_with('/');
  std::vector<std::string_view> components;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == path.npos)
      end = path.size();
    const std::string_view component = path.substr(start, end - start);
    const bool leading = start == 0;
    if (!component.empty() && (component != "." || leading)) {
      components.push_back(component);
    }
    start = end + 1;
  }
  // Only "" and the root alone are left without a component.
  if (components.empty())
    return std::nullopt;
  if (components.size() <= 1) {
    return absolute ? std::optional<std::string>("/") : std::string();
  }
  std::string parent = absolute ? "/" : "";
  for (std::size_t i = 0; i + 1 < components.size(); ++i) {
    if (i > 0)
      parent += '/';
    parent += components[i];
  }
  return parent;
}

}  // namespace

std::optional<std::string> SdiffOptions::validate() const {
  if (width < kMinWidth) {
    return "Width must be at least " + std::to_string(kMinWidth) + " columns";
  }
  if (width > kMaxWidth) {
    return "Width must be at most " + std::to_string(kMaxWidth) + " columns";
  }
  if (tabsize < kMinTabsize || tabsize > kMaxTabsize) {
    return "Tab size must be between 1 and 32";
  }
  if (files.size() < 2)
    return "Two file arguments required";
  if (files.size() > 2)
    return "Too many file arguments (expected 2)";
  return std::nullopt;
}

std::optional<std::string> validate_files(const SdiffOptions& options) {
  for (const std::string& operand : options.files) {
    // "-" is standard input, which the driver examines as "/dev/stdin".
    if (operand == "-")
      continue;
    const std::optional<struct stat> status = file_status(operand);
    if (!status)
      return operand + ": No such file or directory";
    if (is_directory(*status))
      return operand + ": Is a directory";
  }
  return std::nullopt;
}

std::optional<std::string> validate_output(const SdiffOptions& options) {
  if (!options.output)
    return std::nullopt;
  const std::string& output = *options.output;
  const std::optional<std::string> parent = parent_path(output);
  if (parent && !parent->empty() && !file_status(*parent)) {
    return output + ": Parent directory does not exist";
  }
  const std::optional<struct stat> status = file_status(output);
  if (status && is_directory(*status))
    return output + ": Is a directory";
  return std::nullopt;
}

SdiffOptions handle_args() {
  SdiffOptions options = parse_args();
  if (options.help) {
    print_help();
    exit_process(0);
  }
  if (options.version) {
    print_version();
    exit_process(0);
  }
  if (std::optional<std::string> message = options.validate()) {
    exit_with_error(*message, /*with_try_help=*/true);
  }
  if (std::optional<std::string> message = validate_files(options)) {
    exit_with_error(*message);
  }
  if (std::optional<std::string> message = validate_output(options)) {
    exit_with_error(*message);
  }
  return options;
}

}  // namespace cli::sdiff
