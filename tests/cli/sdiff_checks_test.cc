// The checks of a parsed command line: ranges, operand count, operands and
// the output path, against real files.
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/sdiff.h"
#include "support/temp_dir.h"

namespace cli::sdiff {
namespace {

using testing_support::TempDir;

using Message = std::optional<std::string>;

TEST(SdiffOptionsValidate, FirstFailingTestIsTheMessage) {
  const std::vector<std::string> two = {"a", "b"};
  struct Case {
    const char* name;
    SdiffOptions options;
    Message expected;
  };
  const Case cases[] = {
      {"defaults with two operands", {.files = two}, std::nullopt},
      {"width limits pass",
       {.width = 20, .tabsize = 32, .files = two},
       std::nullopt},
      {"width 500 and tab size 1 pass",
       {.width = 500, .tabsize = 1, .files = two},
       std::nullopt},
      {"width below 20",
       {.width = 19, .files = two},
       "Width must be at least 20 columns"},
      {"width above 500",
       {.width = 501, .tabsize = 0},
       "Width must be at most 500 columns"},
      {"tab size 0",
       {.tabsize = 0, .files = two},
       "Tab size must be between 1 and 32"},
      {"tab size 33 before the operand count",
       {.tabsize = 33},
       "Tab size must be between 1 and 32"},
      {"one operand", {.files = {"a"}}, "Two file arguments required"},
      {"three operands",
       {.files = {"a", "b", "c"}},
       "Too many file arguments (expected 2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, c.options.validate());
  }
}

TEST(ValidateFiles, ReportsTheFirstBadOperandAsTyped) {
  TempDir dir;
  const std::string file = dir.write("file", "x\n");
  const std::string missing = dir.file("missing");
  ASSERT_EQ(0, symlink(file.c_str(), dir.file("good-link").c_str()));
  ASSERT_EQ(0, symlink(missing.c_str(), dir.file("dangling").c_str()));
  ASSERT_EQ(0, mkdir(dir.file("sub").c_str(), 0755));
  struct Case {
    const char* name;
    std::vector<std::string> files;
    Message expected;
  };
  const Case cases[] = {
      {"two files", {file, file}, std::nullopt},
      {"dash is not examined", {"-", "-"}, std::nullopt},
      {"link to a file", {dir.file("good-link"), file}, std::nullopt},
      {"missing second",
       {file, missing},
       missing + ": No such file or directory"},
      {"both missing: only the first",
       {missing, "/nowhere/b"},
       missing + ": No such file or directory"},
      {"directory before missing",
       {dir.path(), missing},
       dir.path() + ": Is a directory"},
      {"dangling link",
       {"-", dir.file("dangling")},
       dir.file("dangling") + ": No such file or directory"},
      {"a file on the way",
       {file + "/x", file},
       file + "/x: No such file or directory"},
      {"kept as typed",
       {dir.path() + "//sub/", file},
       dir.path() + "//sub/: Is a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, validate_files(SdiffOptions{.files = c.files}));
  }
}

TEST(ValidateOutput, ParentMustExistAndPathMustNotBeADirectory) {
  TempDir dir;
  const std::string file = dir.write("file", "x\n");
  ASSERT_EQ(0, mkdir(dir.file("sub").c_str(), 0755));
  const std::string d = dir.path();
  struct Case {
    const char* name;
    std::string output;
    Message expected;
  };
  const Case cases[] = {
      {"new file in an existing directory", d + "/new", std::nullopt},
      {"existing file is replaced later", file, std::nullopt},
      {"parent that is a regular file passes", file + "/new", std::nullopt},
      {"a dot after a file is no component", file + "/./new", std::nullopt},
      {"repeated and trailing slashes", d + "//sub///new/", std::nullopt},
      {"missing parent", d + "/no/new",
       d + "/no/new: Parent directory does not exist"},
      {"missing parent behind a trailing slash", d + "/no/new//",
       d + "/no/new//: Parent directory does not exist"},
      {"missing parent behind dots", d + "/no/./new/.",
       d + "/no/./new/.: Parent directory does not exist"},
      {"directory", d + "/sub", d + "/sub: Is a directory"},
      {"directory with trailing slash", d + "/sub/",
       d + "/sub/: Is a directory"},
      {"root", "/", "/: Is a directory"},
      {"root twice", "//", "//: Is a directory"},
      {"directly under the root", "/vrelsdiff-no-such-output", std::nullopt},
      {"empty path has no parent", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, validate_output(SdiffOptions{.output = c.output}));
  }
  EXPECT_EQ(std::nullopt, validate_output(SdiffOptions{}));
}

// Relative paths: a bare name and "." alone have an empty parent, which is
// not examined; a leading "." is a component of its own.
TEST(ValidateOutput, RelativePaths) {
  TempDir dir;
  dir.write("file", "x\n");
  char* previous = getcwd(nullptr, 0);
  ASSERT_EQ(0, chdir(dir.path().c_str()));
  struct Case {
    const char* name;
    std::string output;
    Message expected;
  };
  const Case cases[] = {
      {"bare name", "new", std::nullopt},
      {"current directory", ".", ".: Is a directory"},
      {"current directory twice", "./.", "./.: Is a directory"},
      {"parent directory", "..", "..: Is a directory"},
      {"leading dot", "./new", std::nullopt},
      {"under a file", "file/new", std::nullopt},
      {"missing parent", "no/new", "no/new: Parent directory does not exist"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, validate_output(SdiffOptions{.output = c.output}));
  }
  ASSERT_EQ(0, chdir(previous));
  free(previous);
}

}  // namespace
}  // namespace cli::sdiff
