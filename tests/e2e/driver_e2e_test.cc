// The driver's operand checks and same-file shortcut, through the program.
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

TEST(Driver, SamePathTwiceIsAnsweredAtOnce) {
  TempDir dir;
  std::string file = dir.write("a.txt", "x\n");
  auto result = run_vrelsdiff({file, file});
  EXPECT_EQ(0, result.status);
  EXPECT_EQ("", result.out);
  EXPECT_EQ("", result.err);
}

TEST(Driver, DashTwiceNamesOneFileAndReadsNothing) {
  auto result = run_vrelsdiff({"-", "-"}, RunOptions{.input = "never read\n"});
  EXPECT_EQ(0, result.status);
  EXPECT_EQ("", result.out);
  EXPECT_EQ("", result.err);
}

// Two names of one file whose content would otherwise differ from nothing:
// the listing would be non-empty, so an empty output shows the shortcut.
TEST(Driver, TwoNamesOfOneFileAreTheSameFile) {
  TempDir dir;
  const std::string file = dir.write("file", "x\n");
  ASSERT_EQ(0, ::link(file.c_str(), dir.file("hard").c_str()));
  ASSERT_EQ(0, ::symlink(file.c_str(), dir.file("soft").c_str()));
  struct Case {
    const char* name;
    std::vector<std::string> args;
    RunOptions run;
  };
  const Case cases[] = {
      {"a hard link", {file, dir.file("hard")}, {}},
      {"a symbolic link", {dir.file("soft"), file}, {}},
      {"a relative and an absolute path", {"file", file}, {.cwd = dir.path()}},
      {"a doubled slash and ./",
       {dir.path() + "//file", "./file"},
       {.cwd = dir.path()}},
      {"dash with standard input redirected from the file",
       {"-", file},
       {.stdin_path = file}},
      {"the output file is not created",
       {"-o", dir.file("merged"), file, dir.file("hard")},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = run_vrelsdiff(c.args, c.run);
    EXPECT_EQ(0, result.status);
    EXPECT_EQ("", result.out);
    EXPECT_EQ("", result.err);
  }
  EXPECT_FALSE(dir.exists("merged"));
}

TEST(Driver, EqualFilesAreListed) {
  TempDir dir;
  const auto result =
      run_vrelsdiff({dir.write("one", "x\n"), dir.write("two", "x\n")});
  EXPECT_EQ(0, result.status);
  EXPECT_EQ("x" + std::string(8, '\t') + "x\n", result.out);
  EXPECT_EQ("", result.err);
}

TEST(Driver, RejectsADirectoryOnStandardInput) {
  TempDir dir;
  const std::string file = dir.write("file", "x\n");
  struct Case {
    const char* name;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"dash on the left", {"-", file}},
      {"dash on the right", {file, "-"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result =
        run_vrelsdiff(c.args, RunOptions{.stdin_path = dir.path()});
    EXPECT_EQ(2, result.status);
    EXPECT_EQ("", result.out);
    EXPECT_EQ("vrelsdiff: /dev/stdin: Is a directory\n", result.err);
  }
}

}  // namespace
