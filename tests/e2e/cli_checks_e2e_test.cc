// The checks after parsing through the program: range and operand-count
// messages with the try-help line, file and output messages without.
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/run_binary.h"
#include "support/temp_dir.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::RunOptions;
using testing_support::TempDir;

const std::string kTryHelp = "Try 'vrelsdiff --help' for more information.\n";

TEST(CliChecks, MessagesInOrderOfTheChecks) {
  TempDir dir;
  const std::string a = dir.write("a", "x\n");
  const std::string b = dir.write("b", "y\n");
  const std::string missing = dir.file("missing");
  ASSERT_EQ(0, symlink(missing.c_str(), dir.file("dangling").c_str()));
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {"no operands",
       {},
       "vrelsdiff: Two file arguments required\n" + kTryHelp},
      {"one operand",
       {a},
       "vrelsdiff: Two file arguments required\n" + kTryHelp},
      {"three operands before a bad output",
       {a, b, a, "-o", dir.file("no/out")},
       "vrelsdiff: Too many file arguments (expected 2)\n" + kTryHelp},
      {"tab size 0",
       {"--tabsize=0", a, b},
       "vrelsdiff: Tab size must be between 1 and 32\n" + kTryHelp},
      {"tab size before missing files",
       {"--tabsize", "33", missing, missing},
       "vrelsdiff: Tab size must be between 1 and 32\n" + kTryHelp},
      {"both operands missing: the first",
       {missing, dir.file("other")},
       "vrelsdiff: " + missing + ": No such file or directory\n"},
      {"directory then missing",
       {dir.path(), missing},
       "vrelsdiff: " + dir.path() + ": Is a directory\n"},
      {"dangling link",
       {a, dir.file("dangling")},
       "vrelsdiff: " + dir.file("dangling") + ": No such file or directory\n"},
      {"output parent missing",
       {a, b, "-o", dir.file("no/out")},
       "vrelsdiff: " + dir.file("no/out") +
           ": Parent directory does not exist\n"},
      {"output is a directory",
       {a, b, "--output=" + dir.path() + "/"},
       "vrelsdiff: " + dir.path() + "/: Is a directory\n"},
      {"output is the root", {a, b, "-o/"}, "vrelsdiff: /: Is a directory\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = run_vrelsdiff(c.args);
    EXPECT_EQ(2, result.status);
    EXPECT_EQ("", result.out);
    EXPECT_EQ(c.err, result.err);
  }
}

TEST(CliChecks, RelativeOutputNamingTheCurrentDirectory) {
  TempDir dir;
  dir.write("a", "x\n");
  dir.write("b", "y\n");
  auto result =
      run_vrelsdiff({"a", "b", "-o", "."}, RunOptions{.cwd = dir.path()});
  EXPECT_EQ(2, result.status);
  EXPECT_EQ("vrelsdiff: .: Is a directory\n", result.err);
}

}  // namespace
