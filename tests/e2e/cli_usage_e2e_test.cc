// Usage errors through the program: the exact message, the try-help line
// where it belongs, status 2 and nothing on standard output.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/run_binary.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::RunOptions;

const std::string kTryHelp = "Try 'vrelsdiff --help' for more information.\n";

struct Case {
  const char* name;
  std::vector<std::string> args;
  std::string err;
};

void expect_usage_errors(const std::vector<Case>& cases,
                         const RunOptions& options = {}) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = run_vrelsdiff(c.args, options);
    EXPECT_EQ(2, result.status);
    EXPECT_EQ("", result.out);
    EXPECT_EQ(c.err, result.err);
  }
}

TEST(CliUsage, ParserMessages) {
  expect_usage_errors({
      {"digit in a bundle",
       {"-l3", "a", "b"},
       "vrelsdiff: invalid option -- '3'\n" + kTryHelp},
      {"character outside ASCII, as typed",
       {"-é"},
       "vrelsdiff: invalid option -- 'é'\n" + kTryHelp},
      {"help before an invalid letter is not acted on",
       {"-h", "-x"},
       "vrelsdiff: invalid option -- 'x'\n" + kTryHelp},
      {"help after an invalid letter",
       {"-xh"},
       "vrelsdiff: invalid option -- 'x'\n" + kTryHelp},
      {"unrecognized long name",
       {"--widht", "80"},
       "vrelsdiff: unrecognized option '--widht'\n" + kTryHelp},
      {"a shortened name is unrecognized",
       {"--help", "--vers"},
       "vrelsdiff: unrecognized option '--vers'\n" + kTryHelp},
      {"three dashes",
       {"---l"},
       "vrelsdiff: unrecognized option '---l'\n" + kTryHelp},
      {"flag name with a value",
       {"--help=yes"},
       "vrelsdiff: unrecognized option '--help'\n"},
      {"unrecognized name with a value",
       {"--colour=always"},
       "vrelsdiff: unrecognized option '--colour'\n"},
      {"nothing before =", {"--=80"}, "vrelsdiff: unrecognized option '--'\n"},
      {"--width last",
       {"a", "b", "--width"},
       "vrelsdiff: option '--width' requires an argument\n"},
      {"--output last",
       {"--output"},
       "vrelsdiff: option '--output' requires an argument\n"},
      {"-w last", {"-w"}, "vrelsdiff: option '-w' requires an argument\n"},
      {"-W before letters",
       {"-W", "abc"},
       "vrelsdiff: option '-W' requires an argument\n"},
      {"-w before a plus sign",
       {"-w", "+80"},
       "vrelsdiff: option '-w' requires an argument\n"},
      {"-w before a negative number",
       {"-w", "-80"},
       "vrelsdiff: option '-w' requires an argument\n"},
      {"-w before an empty argument",
       {"-w", ""},
       "vrelsdiff: option '-w' requires an argument\n"},
      {"-w with a dropped rest and nothing after",
       {"-w8x"},
       "vrelsdiff: option '-w' requires an argument\n"},
      {"-w= and digits, nothing after",
       {"-w=80"},
       "vrelsdiff: option '-w' requires an argument\n"},
      {"-o last",
       {"a", "-lo"},
       "vrelsdiff: option '-o' requires an argument\n"},
      {"-d last", {"-d"}, "vrelsdiff: option '-d' requires an argument\n"},
  });
}

TEST(CliUsage, TryHelpLineFollowsTheLanguage) {
  expect_usage_errors({{"invalid letter",
                        {"-x"},
                        "vrelsdiff: invalid option -- 'x'\n"
                        "请尝试 'vrelsdiff --help' 获取更多信息。\n"},
                       {"the message itself stays English",
                        {"--width"},
                        "vrelsdiff: option '--width' requires an argument\n"}},
                      RunOptions{.env = {{"LANG", "zh_CN.UTF-8"}}});
}

// Arguments are text: one that cannot be decoded is refused before any
// option is acted on, help included.
TEST(CliUsage, ArgumentThatIsNotUtf8) {
  expect_usage_errors({
      {"second argument",
       {"-h", "a\xff", "b"},
       "vrelsdiff: argument 2 is not valid UTF-8\n"},
      {"a truncated character in a bundle",
       {"-l\xc3"},
       "vrelsdiff: argument 1 is not valid UTF-8\n"},
      {"after --",
       {"--", "a", "\xed\xa0\x80"},
       "vrelsdiff: argument 3 is not valid UTF-8\n"},
  });
}

}  // namespace
