// The try-help line and the white-space help lines in both languages.
#include "i18n/sdiff_messages.h"

#include <array>

#include "i18n/locale.h"

namespace i18n::sdiff_messages {
namespace {

// The labels are shared by both languages; only the descriptions differ.
constexpr std::array<std::string_view, 6> kWhitespaceLabels = {
    "-i, --ignore-case",           "-E, --ignore-tab-expansion",
    "-Z, --ignore-trailing-space", "-b, --ignore-space-change",
    "-w, --ignore-all-space",      "-B, --ignore-blank-lines",
};

constexpr std::array<std::string_view, 6> kWhitespaceEnglish = {
    "Ignore case differences in file contents",
    "Ignore changes due to tab expansion",
    "Ignore white space at line end",
    "Ignore changes in amount of white space",
    "Ignore all white space",
    "Ignore changes where lines are all blank",
};

constexpr std::array<std::string_view, 6> kWhitespaceChinese = {
    "忽略文件内容的大小写差异",
    "忽略制表符展开导致的更改",
    "忽略行尾的空白",
    "忽略空白量的更改",
    "忽略所有空白",
    "忽略全为空行的更改",
};

}  // namespace

std::string try_help() {
  return detect_locale() ? "请尝试 'vrelsdiff --help' 获取更多信息。"
                         : "Try 'vrelsdiff --help' for more information.";
}

std::vector<std::pair<std::string_view, std::string_view>>
help_whitespace_options() {
  const auto& descriptions =
      detect_locale() ? kWhitespaceChinese : kWhitespaceEnglish;
  std::vector<std::pair<std::string_view, std::string_view>> lines;
  lines.reserve(kWhitespaceLabels.size());
  for (std::size_t i = 0; i < kWhitespaceLabels.size(); ++i) {
    lines.emplace_back(kWhitespaceLabels[i], descriptions[i]);
  }
  return lines;
}

}  // namespace i18n::sdiff_messages
