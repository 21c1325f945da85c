// Help and version through the program, byte for byte in both languages.
#include <string>

#include <gtest/gtest.h>

#include "support/run_binary.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::RunOptions;

const RunOptions kChinese = {.env = {{"LANG", "zh_CN.UTF-8"}}};

// One line of the text per source line, as it shows.
// clang-format off
constexpr const char* kEnglishHelp =
    "Usage: vrelsdiff [OPTION]... FILE1 FILE2\n"
    "Side-by-side merge of file differences.\n"
    "\n"
    "Mandatory arguments to long options are mandatory for short options too.\n"
    "\n"
    "Output format options:\n"
    "  -o, --output=FILE               Output interactively merged result to FILE\n"
    "  -w, --width=NUM                 Output at most NUM (default 130) print columns\n"
    "  --left-column                   Output only the left column of common lines\n"
    "  -s, --suppress-common-lines     Do not output common lines\n"
    "\n"
    "Display options:\n"
    "  -t, --expand-tabs               Expand tabs to spaces in output\n"
    "  --tabsize=NUM                   Tab stops every NUM (default 8) print columns\n"
    "\n"
    "Whitespace options:\n"
    "  -i, --ignore-case               Ignore case differences in file contents\n"
    "  -E, --ignore-tab-expansion      Ignore changes due to tab expansion\n"
    "  -Z, --ignore-trailing-space     Ignore white space at line end\n"
    "  -b, --ignore-space-change       Ignore changes in amount of white space\n"
    "  -w, --ignore-all-space          Ignore all white space\n"
    "  -B, --ignore-blank-lines        Ignore changes where lines are all blank\n"
    "\n"
    "Other options:\n"
    "  -a, --text                      Treat all files as text\n"
    "  --strip-trailing-cr             Strip trailing carriage return on input\n"
    "  -d, --diff-program=PROG         Use PROG to compare files\n"
    "  -h, --help                      Display this help and exit\n"
    "  -v, --version                   Output version information and exit\n"
    "\n"
    "Interactive mode commands:\n"
    "  l, 1, <    Select content from left (file1)\n"
    "  r, 2, >    Select content from right (file2)\n"
    "  b, 3       Include content from both files\n"
    "  e          Edit the current difference manually\n"
    "  s, Enter   Skip this difference\n"
    "  q          Quit the program\n"
    "\n"
    "Exit status is 0 if inputs are the same, 1 if different, 2 if trouble.\n";

// The -d label has 21 characters in 25 bytes and so gets 11 spaces.
constexpr const char* kChineseHelp =
    "用法：vrelsdiff [选项]... 文件1 文件2\n"
    "并排比较两个文件，并可选择交互式合并。\n"
    "\n"
    "长选项的必需参数也是相应短选项的必需参数。\n"
    "\n"
    "Output format options:\n"
    "  -o, --output=FILE               输出交互式合并结果到文件\n"
    "  -w, --width=NUM                 最多输出 NUM（默认 130）列\n"
    "  --left-column                   只输出公共行的左列\n"
    "  -s, --suppress-common-lines     不输出公共行\n"
    "\n"
    "Display options:\n"
    "  -t, --expand-tabs               在输出中将制表符展开为空格\n"
    "  --tabsize=NUM                   制表位每隔 NUM（默认 8）列\n"
    "\n"
    "Whitespace options:\n"
    "  -i, --ignore-case               忽略文件内容的大小写差异\n"
    "  -E, --ignore-tab-expansion      忽略制表符展开导致的更改\n"
    "  -Z, --ignore-trailing-space     忽略行尾的空白\n"
    "  -b, --ignore-space-change       忽略空白量的更改\n"
    "  -w, --ignore-all-space          忽略所有空白\n"
    "  -B, --ignore-blank-lines        忽略全为空行的更改\n"
    "\n"
    "Other options:\n"
    "  -a, --text                      将所有文件视为文本\n"
    "  --strip-trailing-cr             去除输入每行末尾的回车符\n"
    "  -d, --diff-program=程序           使用程序比较文件\n"
    "  -h, --help                      显示此帮助信息并退出\n"
    "  -v, --version                   输出版本信息并退出\n"
    "\n"
    "交互模式命令：\n"
    "  l, 1, <    选择左边（文件1）的内容\n"
    "  r, 2, >    选择右边（文件2）的内容\n"
    "  b, 3       包含两边的内容\n"
    "  e          手动编辑当前差异\n"
    "  s, Enter   跳过此差异\n"
    "  q          退出程序\n"
    "\n"
    "退出状态：0 表示输入相同，1 表示不同，2 表示出错。\n";

constexpr const char* kEnglishVersion =
    "vrelsdiff 0.1.0\n"
    "Compares two text files side by side and merges them interactively.\n";
constexpr const char* kChineseVersion =
    "vrelsdiff 0.1.0\n"
    "并排比较两个文本文件，并可交互式地合并它们。\n";
// clang-format on

struct Case {
  const char* name;
  std::vector<std::string> args;
  RunOptions options;
  const char* out;
};

TEST(CliHelp, HelpAndVersionWinOverEverythingButUsageErrors) {
  const Case cases[] = {
      {"--help alone", {"--help"}, {}, kEnglishHelp},
      {"-h with a bad tab size and one operand",
       {"-h", "--tabsize=0", "a"},
       {},
       kEnglishHelp},
      {"help before version", {"-v", "-h"}, {}, kEnglishHelp},
      {"help ignores the width", {"-w", "80", "--help"}, {}, kEnglishHelp},
      {"help in Chinese", {"--help"}, kChinese, kChineseHelp},
      {"--version with missing files",
       {"--version", "/no/a", "/no/b"},
       {},
       kEnglishVersion},
      {"version in Chinese", {"-v"}, kChinese, kChineseVersion},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = run_vrelsdiff(c.args, c.options);
    EXPECT_EQ(0, result.status);
    EXPECT_EQ(c.out, result.out);
    EXPECT_EQ("", result.err);
  }
}

// A closed pipe fails the write (SIGPIPE is ignored); the run must not end
// as if the text had been shown.
TEST(CliHelp, FailedWriteIsReportedWithStatus2) {
  for (const char* option : {"--help", "--version"}) {
    SCOPED_TRACE(option);
    auto result = run_vrelsdiff({option}, RunOptions{.stdout_broken = true});
    EXPECT_EQ(2, result.status);
    EXPECT_EQ("vrelsdiff: Broken pipe (os error 32)\n", result.err);
  }
}

}  // namespace
