// The help and version texts in English and Simplified Chinese.
#include <unistd.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/process.h"
#include "cli/sdiff.h"
#include "i18n/locale.h"
#include "i18n/sdiff_messages.h"
#include "io_utils/diff_error.h"
#include "io_utils/fd_io.h"
#include "io_utils/utf8.h"

#ifndef VRELSDIFF_VERSION
#error "the build defines VRELSDIFF_VERSION as the project's version"
#endif

namespace cli::sdiff {
namespace {

using OptionLines = std::vector<std::pair<std::string_view, std::string_view>>;

// Descriptions start after two spaces and a label field this many
// characters wide.
constexpr std::size_t kLabelField = 32;

std::string_view pick(std::string_view english, std::string_view chinese) {
  return i18n::detect_locale() ? chinese : english;
}

void append_line(std::string& text, std::string_view line) {
  text += line;
  text += '\n';
}

void append_options(std::string& text, const OptionLines& lines) {
  for (const auto& [label, description] : lines) {
    text += "  ";
    text += label;
    // The field is counted in characters, not bytes.
    const std::size_t width = io_utils::character_count(label);
    if (width < kLabelField)
      text.append(kLabelField - width, ' ');
    append_line(text, description);
  }
}

OptionLines output_format_options() {
  const bool chinese = i18n::detect_locale();
  return {
      {"-o, --output=FILE", chinese
                                ? "输出交互式合并结果到文件"
                                : "Output interactively merged result to FILE"},
      {"-w, --width=NUM",
       chinese ? "最多输出 NUM（默认 130）列"
               : "Output at most NUM (default 130) print columns"},
      {"--left-column", chinese
                            ? "只输出公共行的左列"
                            : "Output only the left column of common lines"},
      {"-s, --suppress-common-lines",
       chinese ? "不输出公共行" : "Do not output common lines"},
  };
}

OptionLines display_options() {
  const bool chinese = i18n::detect_locale();
  return {
      {"-t, --expand-tabs", chinese ? "在输出中将制表符展开为空格"
                                    : "Expand tabs to spaces in output"},
      {"--tabsize=NUM", chinese
                            ? "制表位每隔 NUM（默认 8）列"
                            : "Tab stops every NUM (default 8) print columns"},
  };
}

OptionLines other_options() {
  const bool chinese = i18n::detect_locale();
  return {
      {"-a, --text",
       chinese ? "将所有文件视为文本" : "Treat all files as text"},
      {"--strip-trailing-cr", chinese
                                  ? "去除输入每行末尾的回车符"
                                  : "Strip trailing carriage return on input"},
      {chinese ? "-d, --diff-program=程序" : "-d, --diff-program=PROG",
       chinese ? "使用程序比较文件" : "Use PROG to compare files"},
      {"-h, --help",
       chinese ? "显示此帮助信息并退出" : "Display this help and exit"},
      {"-v, --version",
       chinese ? "输出版本信息并退出" : "Output version information and exit"},
  };
}

constexpr std::string_view kCommandsEnglish =
    "Interactive mode commands:\n"
    "  l, 1, <    Select content from left (file1)\n"
    "  r, 2, >    Select content from right (file2)\n"
    "  b, 3       Include content from both files\n"
    "  e          Edit the current difference manually\n"
    "  s, Enter   Skip this difference\n"
    "  q          Quit the program";

constexpr std::string_view kCommandsChinese =
    "交互模式命令：\n"
    "  l, 1, <    选择左边（文件1）的内容\n"
    "  r, 2, >    选择右边（文件2）的内容\n"
    "  b, 3       包含两边的内容\n"
    "  e          手动编辑当前差异\n"
    "  s, Enter   跳过此差异\n"
    "  q          退出程序";

std::string help_text() {
  std::string text;
  text += pick("Usage: ", "用法：");
  text += "vrelsdiff";
  append_line(text, pick(" [OPTION]... FILE1 FILE2", " [选项]... 文件1 文件2"));
  append_line(text, pick("Side-by-side merge of file differences.",
                         "并排比较两个文件，并可选择交互式合并。"));
  append_line(text, "");
  append_line(text, pick("Mandatory arguments to long options are mandatory "
                         "for short options too.",
                         "长选项的必需参数也是相应短选项的必需参数。"));
  append_line(text, "");
  append_line(text, "Output format options:");
  append_options(text, output_format_options());
  append_line(text, "");
  append_line(text, "Display options:");
  append_options(text, display_options());
  append_line(text, "");
  append_line(text, "Whitespace options:");
  append_options(text, i18n::sdiff_messages::help_whitespace_options());
  append_line(text, "");
  append_line(text, "Other options:");
  append_options(text, other_options());
  append_line(text, "");
  append_line(text, pick(kCommandsEnglish, kCommandsChinese));
  append_line(text, "");
  append_line(text, pick("Exit status is 0 if inputs are the same, 1 if "
                         "different, 2 if trouble.",
                         "退出状态：0 表示输入相同，1 表示不同，2 表示出错。"));
  return text;
}

std::string version_text() {
  std::string text = "vrelsdiff " VRELSDIFF_VERSION "\n";
  append_line(text, pick("Compares two text files side by side and merges them "
                         "interactively.",
                         "并排比较两个文本文件，并可交互式地合并它们。"));
  return text;
}

// Each line goes out in a write(2) of its own, as a line-buffered stream would
// hand it over, and the first write that fails ends the process with status
// 2: a text that did not arrive whole must not end in a status that says it
// did. A last line without "\n" goes out as it is.
void write_lines(std::string_view text) {
  while (!text.empty()) {
    const std::size_t line_end = text.find('\n');
    const std::size_t end =
        line_end == std::string_view::npos ? text.size() : line_end + 1;
    io_utils::Result<void> written =
        io_utils::write_all(STDOUT_FILENO, text.substr(0, end));
    if (!written.ok())
      exit_with_error(io_utils::message_text(written.error()));
    text.remove_prefix(end);
  }
}

}  // namespace

void print_help() {
  write_lines(help_text());
}

void print_version() {
  write_lines(version_text());
}

}  // namespace cli::sdiff
