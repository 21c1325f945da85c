// The driver's own operand checks, which the command-line checks hide from
// the program: both existence tests before either directory test.
#include "sdiff/run.h"

#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using cli::sdiff::SdiffOptions;
using testing_support::TempDir;

TEST(Run, TestsBothPathsExistBeforeEitherIsADirectory) {
  TempDir dir;
  const std::string file = dir.write("file", "x\n");
  const std::string folder = dir.path();
  const std::string missing = dir.file("missing");
  struct Case {
    const char* name;
    std::string left;
    std::string right;
    std::string message;
  };
  const Case cases[] = {
      {"a missing right path before a left directory", folder, missing,
       missing + ": No such file or directory"},
      {"a missing left path before a right directory", missing, folder,
       missing + ": No such file or directory"},
      {"the left directory first", folder, "/", folder + ": Is a directory"},
      {"then the right directory", file, folder, folder + ": Is a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto status = sdiff::run(SdiffOptions{.files = {c.left, c.right}});
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(c.message, message_text(status.error()));
  }
}

}  // namespace
