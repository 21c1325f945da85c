// The merged file: where it goes, its mode, its bytes, and its failures.
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

TEST(MergeOutput, MayOverwriteAnInputOnlyAfterTheWalk) {
  TempDir dir;
  const std::string left = dir.write("left", "same\nold\nkeep\n");
  const std::string right = dir.write("right", "same\nnew\nkeep\nadded\n");
  auto result = run_vrelsdiff({"-t", "-w", "40", "-o", left, left, right},
                              RunOptions{.input = "r\nl\n"});
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ(
      "old                |  new\n"
      "                   >  added\n",
      result.out);
  EXPECT_EQ("same\nnew\nkeep\n", dir.read("left"));
}

TEST(MergeOutput, DashIsAFileNameNotStandardOutput) {
  TempDir dir;
  auto result = run_vrelsdiff({"-t", "-w", "40", "-o", "-",
                               dir.write("l", "a\n"), dir.write("r", "b\n")},
                              RunOptions{.input = "b\n", .cwd = dir.path()});
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ("a                  |  b\n", result.out);
  EXPECT_EQ("a\nb\n", dir.read("-"));
}

TEST(MergeOutput, CreatesWithTheUmaskAndKeepsAnExistingFilesMode) {
  TempDir dir;
  const std::string left = dir.write("l", "x\n");
  const std::string right = dir.write("r", "x\n");
  const mode_t saved = ::umask(027);
  auto created = run_vrelsdiff({"-o", dir.file("new"), left, right});
  ::umask(saved);
  EXPECT_EQ(0, created.status) << created.err;
  struct stat status;
  ASSERT_EQ(0, ::stat(dir.file("new").c_str(), &status));
  EXPECT_EQ(0640u, status.st_mode & 07777);

  const std::string existing =
      dir.write("existing", "a much longer old content\nover two lines\n");
  ASSERT_EQ(0, ::chmod(existing.c_str(), 0600));
  auto truncated = run_vrelsdiff({"-o", existing, left, right});
  EXPECT_EQ(0, truncated.status) << truncated.err;
  EXPECT_EQ("x\n", dir.read("existing"));
  ASSERT_EQ(0, ::stat(existing.c_str(), &status));
  EXPECT_EQ(0600u, status.st_mode & 07777);
}

// Lines around the 8192-byte buffer size, some going straight to the file
// and some through the buffer, must come out whole and in order.
TEST(MergeOutput, WritesLongLinesWholeAndInOrder) {
  std::string content;
  const std::size_t lengths[] = {1,    8191, 8192, 3, 9000, 5000,
                                 5000, 0,    8190, 1, 20000};
  char fill = 'a';
  for (std::size_t length : lengths) {
    content += std::string(length, fill++) + "\n";
  }
  TempDir dir;
  const std::string left = dir.write("l", content);
  auto result =
      run_vrelsdiff({"-o", dir.file("out"), left, dir.write("r", content)});
  EXPECT_EQ(0, result.status) << result.err;
  EXPECT_TRUE(content == dir.read("out"));  // too long to print usefully
}

TEST(MergeOutput, ReportsAFileThatCannotBeWritten) {
  TempDir dir;
  const std::string plain = dir.write("plain", "");
  ASSERT_EQ(0, ::symlink(dir.file("missing/out").c_str(),
                         dir.file("dangling").c_str()));
  const std::string long_line(9000, 'x');
  struct Case {
    const char* name;
    std::string output;
    std::string left;
    std::string error;
  } cases[] = {
      {"parent is a file", plain + "/out", "a\n",
       "Cannot create output file '" + plain +
           "/out': Not a directory (os error 20)"},
      {"link into a missing folder", dir.file("dangling"), "a\n",
       "Cannot create output file '" + dir.file("dangling") +
           "': No such file or directory (os error 2)"},
      {"device full at the flush", "/dev/full", "a\n",
       "Flush error: No space left on device (os error 28)"},
      {"device full on a long line", "/dev/full", long_line + "\n",
       "Write error: No space left on device (os error 28)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto result = run_vrelsdiff({"-o", c.output, dir.write("l", c.left),
                                 dir.write("r", c.left + "b\n")},
                                RunOptions{.input = "l\n"});
    EXPECT_EQ(2, result.status);
    EXPECT_EQ("% vrelsdiff: " + c.error + "\n", result.err);
  }
  EXPECT_FALSE(dir.exists("missing"));
}

}  // namespace
