// Whether two paths name one file: by device and inode, links followed.
#include "io_utils/same_file.h"

#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using io_utils::same_file;
using testing_support::TempDir;

TEST(SameFile, ComparesTheFilesThePathsLeadTo) {
  TempDir dir;
  const std::string file = dir.write("file", "same\n");
  const std::string twin = dir.write("twin", "same\n");
  const std::string hard = dir.file("hard");
  const std::string soft = dir.file("soft");
  const std::string dangling = dir.file("dangling");
  ASSERT_EQ(0, ::link(file.c_str(), hard.c_str()));
  ASSERT_EQ(0, ::symlink(file.c_str(), soft.c_str()));
  ASSERT_EQ(0, ::symlink(dir.file("gone").c_str(), dangling.c_str()));
  struct Case {
    const char* name;
    std::string left;
    std::string right;
    bool same;
  };
  const Case cases[] = {
      {"one path twice", file, file, true},
      {"a hard link", file, hard, true},
      {"a symbolic link", soft, file, true},
      {"paths that differ by ./ and //", dir.path() + "/./file",
       dir.path() + "//file", true},
      {"two files with equal contents", file, twin, false},
      {"a dangling link on the left", dangling, file, false},
      {"a dangling link on the right", file, dangling, false},
      {"a missing path on the left", dir.file("missing"), file, false},
      {"a missing path on the right", file, dir.file("missing"), false},
      {"two missing paths", dir.file("missing"), dir.file("missing"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.same, same_file(c.left, c.right));
  }
}

}  // namespace
