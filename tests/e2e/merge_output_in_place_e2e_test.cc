// The merged file written into the file that is there: what takes that way
// and why, and that a regular file keeps its old content when the lines
// cannot all fit.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/merge_output_fixture.h"
#include "support/run_binary.h"
#include "support/temp_dir.h"

namespace {

using testing_support::inode_of;
using testing_support::Names;
using testing_support::names_in;
using testing_support::OneChange;
using testing_support::PrivateMount;
using testing_support::run_vrelsdiff;
using testing_support::RunOptions;
using testing_support::TempDir;

constexpr const char* kNoMount = "cannot mount here (needs root)";

// Lines that each row's "b" takes twice over.
struct GrowingMerge {
  std::string left_text;
  std::string right_text;
  std::string answers;
  std::string prompts;

  explicit GrowingMerge(int rows) {
    for (int i = 1; i <= rows; ++i) {
      left_text += std::to_string(i) + "\n";
      right_text += "x" + std::to_string(i) + "\n";
      answers += "b\n";
      prompts += "% ";
    }
  }
};

// A merge that cannot fit leaves the old content whether the file is
// replaced (one name) or written in place (two names), and says so with the
// same message: the failing write's, or the final flush's when all the
// lines would have gone out there.
TEST(MergeOutputInPlace, KeepsTheOldContentBeyondTheFileSizeLimit) {
  struct Case {
    const char* name;
    int rows;
    const char* error;
  } cases[] = {
      {"lines beyond the buffer", 2000, "Write error: File too large"},
      {"lines all in the final flush", 200, "Flush error: File too large"},
  };
  for (const Case& c : cases) {
    for (const bool linked : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (linked ? ", two names" : ""));
      TempDir dir;
      const GrowingMerge merge(c.rows);
      const std::string left = dir.write("L", merge.left_text);
      if (linked) {
        ASSERT_EQ(0, ::link(left.c_str(), dir.file("L2").c_str()));
      }
      auto result = run_vrelsdiff(
          {"-o", left, left, dir.write("R", merge.right_text)},
          RunOptions{.input = merge.answers, .file_size_limit = 1024});
      EXPECT_EQ(2, result.status);
      EXPECT_EQ(merge.prompts + "vrelsdiff: " + c.error + " (os error 27)\n",
                result.err);
      EXPECT_TRUE(merge.left_text == dir.read("L"));  // too long to print
      const Names expected = linked ? Names{"L", "L2", "R"} : Names{"L", "R"};
      EXPECT_EQ(expected, names_in(dir.path()));
    }
  }
}

TEST(MergeOutputInPlace, KeepsTheOldContentOnAFullFileSystem) {
  TempDir dir;
  const auto small =
      PrivateMount::file_system(dir.file("small"), "tmpfs", "size=64k");
  if (!small.mounted())
    GTEST_SKIP() << kNoMount;
  const GrowingMerge merge(4000);
  const std::string left = dir.write("small/L", merge.left_text);
  ASSERT_EQ(0, ::link(left.c_str(), dir.file("small/L2").c_str()));
  dir.write("small/filler", std::string(32 << 10, 'f'));
  auto result =
      run_vrelsdiff({"-o", left, left, dir.write("R", merge.right_text)},
                    RunOptions{.input = merge.answers});
  EXPECT_EQ(2, result.status);
  EXPECT_EQ(merge.prompts +
                "vrelsdiff: Write error: No space left on device (os error "
                "28)\n",
            result.err);
  EXPECT_TRUE(merge.left_text == dir.read("small/L"));  // too long to print
  EXPECT_EQ((Names{"L", "L2", "filler"}), names_in(dir.file("small")));
}

// A file written in place is cut to its new length after the writing, where
// its file system reserves the blocks first and where it cannot (ramfs):
// then the writing itself finds out whether they fit.
TEST(MergeOutputInPlace, CutsTheFileToItsNewLength) {
  OneChange pair;
  const auto ram = PrivateMount::file_system(pair.dir.file("ram"), "ramfs");
  for (const char* name : {"out", "ram/out"}) {
    SCOPED_TRACE(name);
    if (name == std::string("ram/out") && !ram.mounted())
      GTEST_SKIP() << kNoMount;
    const std::string out = pair.dir.write(name, "a longer old content\n");
    ASSERT_EQ(0, ::link(out.c_str(), (out + "2").c_str()));
    auto result = pair.merge(out);
    EXPECT_EQ(1, result.status) << result.err;
    EXPECT_EQ(OneChange::kMerged, pair.dir.read(name));
    EXPECT_EQ(OneChange::kMerged, testing_support::read_file(out + "2"));
  }
}

// Standard output sent to the file that "-o" names through /dev/stdout:
// the file keeps its identity, and the merged lines replace the listing.
TEST(MergeOutputInPlace, WritesAStandardStreamInPlace) {
  OneChange pair;
  const std::string listing = pair.dir.write("listing", "");
  const ino_t before = inode_of(listing);
  auto result = pair.merge("/dev/stdout", RunOptions{.stdout_path = listing});
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ(OneChange::kMerged, pair.dir.read("listing"));
  EXPECT_EQ(before, inode_of(listing));
  EXPECT_EQ((Names{"l", "r", "listing"}), names_in(pair.dir.path()));
}

// Where no new file can be made or put in place, the file is written, or
// made, in place.
TEST(MergeOutputInPlace, WritesInPlaceWhereNoNewFileCanTakeThePlace) {
  OneChange pair;
  // A path of a folder so long that a short name still fits in the
  // system's limit of 4095 bytes, but not the 19 of a new file's name.
  std::string long_way = pair.dir.path() + "/";
  while (long_way.size() < 4078) long_way += "./";
  for (const char* name : {"made", "existing"}) {
    SCOPED_TRACE(name);
    const std::string path = long_way + name;
    const bool existing = std::string(name) == "existing";
    if (existing)
      pair.dir.write(name, "previous\n");
    const ino_t before = existing ? inode_of(path) : 0;
    auto result = pair.merge(path);
    EXPECT_EQ(1, result.status) << result.err;
    EXPECT_EQ(OneChange::kMerged, pair.dir.read(name));
    if (existing) {
      EXPECT_EQ(before, inode_of(path));
    }
  }
  EXPECT_EQ((Names{"l", "r", "made", "existing"}), names_in(pair.dir.path()));
}

TEST(MergeOutputInPlace, WritesAFileMountedOnItsOwnInPlace) {
  OneChange pair;
  const std::string shown = pair.dir.write("shown", "previous\n");
  const std::string out = pair.dir.write("out", "hidden\n");
  const auto mount = PrivateMount::bind(shown, out);
  if (!mount.mounted())
    GTEST_SKIP() << kNoMount;
  auto result = pair.merge(out);
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ(OneChange::kMerged, pair.dir.read("shown"));
  EXPECT_EQ((Names{"l", "r", "shown", "out"}), names_in(pair.dir.path()));
}

TEST(MergeOutputInPlace, ReportsALoopOfSymbolicLinks) {
  OneChange pair;
  const std::string loop = pair.dir.file("loop");
  ASSERT_EQ(0, ::symlink("loop", loop.c_str()));
  auto result = pair.merge(loop);
  EXPECT_EQ(2, result.status);
  EXPECT_EQ("% vrelsdiff: Cannot create output file '" + loop +
                "': Too many levels of symbolic links (os error 40)\n",
            result.err);
  EXPECT_EQ((Names{"l", "r", "loop"}), names_in(pair.dir.path()));
}

}  // namespace
