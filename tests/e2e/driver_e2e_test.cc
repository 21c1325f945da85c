// The driver's operand checks and same-file shortcut, through the program.
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

}  // namespace
