// Start-up: closed standard descriptors, and the language rule as the
// program sees its environment.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/run_binary.h"
#include "support/temp_dir.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::RunOptions;
using testing_support::TempDir;

TEST(CliStartup, ClosedStandardDescriptorsAreFilled) {
  TempDir dir;
  const std::string same = dir.write("same", "x\n");
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::vector<int> closed;
    int status;
    std::string err;
  };
  const Case cases[] = {
      // The text goes to /dev/null, which accepts it.
      {"version with output closed", {"--version"}, {1}, 0, ""},
      // Nothing can be read back, but the failure still ends with status 2.
      {"usage error with error output closed", {"-x"}, {2}, 2, ""},
      {"all three closed", {"-x"}, {0, 1, 2}, 2, ""},
      {"missing file with input and output closed",
       {same, dir.file("no")},
       {0, 1},
       2,
       "vrelsdiff: " + dir.file("no") + ": No such file or directory\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = run_vrelsdiff(c.args, RunOptions{.closed_fds = c.closed});
    EXPECT_EQ(c.status, result.status);
    EXPECT_EQ("", result.out);
    EXPECT_EQ(c.err, result.err);
  }
}

// Closed input is an empty standard input, so "-" compares as an empty file.
TEST(CliStartup, ClosedInputReadsAsEmpty) {
  TempDir dir;
  const std::string file = dir.write("file", "x\n");
  auto result = run_vrelsdiff({"-", file}, RunOptions{.closed_fds = {0}});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("\t\t\t\t\t\t\t      >\tx\n", result.out);
  EXPECT_EQ("", result.err);
}

// The merge prompts on standard error; with that descriptor closed the
// prompts go to /dev/null and the merge still runs to its end.
TEST(CliStartup, ClosedErrorOutputLetsTheMergeRun) {
  TempDir dir;
  const std::string left = dir.write("left", "x\n");
  const std::string right = dir.write("right", "y\n");
  auto result = run_vrelsdiff({left, right, "-o", dir.file("out")},
                              RunOptions{.input = "l\n", .closed_fds = {2}});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("x\t\t\t\t\t\t\t      |\ty\n", result.out);
  EXPECT_EQ("x\n", dir.read("out"));
}

TEST(CliStartup, LanguageFromTheEnvironment) {
  const std::string english =
      "Compares two text files side by side and merges them interactively.\n";
  const std::string chinese = "并排比较两个文本文件，并可交互式地合并它们。\n";
  using Env = std::vector<std::pair<std::string, std::string>>;
  struct Case {
    const char* name;
    Env env;
    std::string second_line;
  };
  const Case cases[] = {
      {"no variables", {}, english},
      {"empty LC_ALL is taken",
       {{"LC_ALL", ""}, {"LANG", "zh_CN.UTF-8"}},
       english},
      {"LC_ALL not UTF-8 is passed over",
       {{"LC_ALL", "zh_CN.\xff"}, {"LANG", "zh_CN.UTF-8"}},
       chinese},
      {"LC_MESSAGES",
       {{"LC_MESSAGES", "zh-cn"}, {"LANG", "en_US.UTF-8"}},
       chinese},
      {"upper case", {{"LANG", "ZH_CN"}}, chinese},
      {"Taiwan", {{"LANG", "zh_TW.UTF-8"}}, english},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = run_vrelsdiff({"--version"}, RunOptions{.env = c.env});
    EXPECT_EQ(0, result.status);
    EXPECT_EQ("vrelsdiff 0.1.0\n" + c.second_line, result.out);
  }
}

}  // namespace
