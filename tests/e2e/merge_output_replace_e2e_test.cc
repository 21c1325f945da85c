// The merged file arrives whole or not at all: what it replaces, what it
// keeps of the old file, and what is still written in place.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/merge_output_fixture.h"
#include "support/run_binary.h"
#include "support/temp_dir.h"

namespace {

using testing_support::kNobody;
using testing_support::Names;
using testing_support::names_in;
using testing_support::OneChange;
using testing_support::run_vrelsdiff;
using testing_support::RunOptions;
using testing_support::TempDir;

std::string numbered_lines(int count, const std::string& prefix) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += prefix + std::to_string(i) + "\n";
  return text;
}

// On a nearly full file system the merge runs out of room while writing:
// an input named as the output keeps its content, a new output is not
// made, and no file of the merge's own remains.
TEST(MergeOutputReplace, AFullFileSystemLosesNothing) {
  TempDir dir;
  const auto small = testing_support::PrivateMount::file_system(
      dir.file("small"), "tmpfs", "size=64k");
  if (!small.mounted())
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  const std::string left_text = numbered_lines(4000, "");
  const std::string left = dir.write("small/L", left_text);
  dir.write("small/filler", std::string(32 << 10, 'f'));
  const std::string right = dir.write("R", numbered_lines(4000, "x"));
  std::string every_row_both, prompts;
  for (int i = 0; i < 4000; ++i) {
    every_row_both += "b\n";
    prompts += "% ";
  }

  for (const char* output : {"small/L", "small/new"}) {
    SCOPED_TRACE(output);
    auto result = run_vrelsdiff({"-o", dir.file(output), left, right},
                                RunOptions{.input = every_row_both});
    EXPECT_EQ(2, result.status);
    // One prompt for each row, then the failure.
    EXPECT_EQ(prompts +
                  "vrelsdiff: Write error: No space left on device (os "
                  "error 28)\n",
              result.err);
    EXPECT_TRUE(left_text == dir.read("small/L"));  // too long to print
    EXPECT_EQ((Names{"L", "filler"}), names_in(dir.file("small")));
  }
}

// The new file takes the old one's permission bits and owner, whatever
// the umask, and nothing else is left in the folder.
TEST(MergeOutputReplace, KeepsTheModeAndOwnerOfTheFileItReplaces) {
  const bool as_root = ::geteuid() == 0;
  for (const mode_t mode :
       std::initializer_list<mode_t>{0600, 0604, 0750, 02755}) {
    SCOPED_TRACE(mode);
    OneChange pair;
    const std::string out = pair.dir.write("out", "previous content\n");
    // A change of owner clears the set-group-ID bit, so it comes first.
    if (as_root) {
      ASSERT_EQ(0, ::chown(out.c_str(), kNobody, kNobody));
    }
    ASSERT_EQ(0, ::chmod(out.c_str(), mode));
    const mode_t saved = ::umask(077);
    auto result = pair.merge(out);
    ::umask(saved);
    EXPECT_EQ(1, result.status) << result.err;
    EXPECT_EQ(OneChange::kMerged, pair.dir.read("out"));
    struct stat status;
    ASSERT_EQ(0, ::stat(out.c_str(), &status));
    EXPECT_EQ(mode, status.st_mode & 07777);
    if (as_root) {
      EXPECT_EQ(kNobody, status.st_uid);
      EXPECT_EQ(kNobody, status.st_gid);
    }
    EXPECT_EQ((Names{"l", "r", "out"}), names_in(pair.dir.path()));
  }
}

// A symbolic link as the output stays a link, and the file it leads to,
// through every link on the way, gets the text, also when it is new.
TEST(MergeOutputReplace, ReplacesTheFileASymbolicLinkLeadsTo) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // name, target
    std::string target;
    bool target_exists;
  } cases[] = {
      {"link to a file", {{"link", "file"}}, "file", true},
      {"link to a link in a folder",
       {{"link", "sub/inner"}, {"sub/inner", "file"}},
       "sub/file",
       true},
      {"link to an absent file", {{"link", "sub/new"}}, "sub/new", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OneChange pair;
    std::filesystem::create_directory(pair.dir.file("sub"));
    if (c.target_exists)
      pair.dir.write(c.target, "previous\n");
    Names expected_names = {"l", "r", "sub", c.target};
    for (const auto& [name, target] : c.links) {
      ASSERT_EQ(0, ::symlink(target.c_str(), pair.dir.file(name).c_str()));
      expected_names.insert(name);
    }

    auto result = pair.merge(pair.dir.file("link"));
    EXPECT_EQ(1, result.status) << result.err;
    EXPECT_EQ(OneChange::kMerged, pair.dir.read(c.target));
    for (const auto& [name, target] : c.links)
      EXPECT_EQ(target, std::filesystem::read_symlink(pair.dir.file(name)));
    EXPECT_EQ(expected_names, names_in(pair.dir.path()));
  }
}

// What no new file can stand in for is written in place, through the
// descriptor the old file was opened with: a file with a second name (both
// names see the text), a device, a FIFO.
TEST(MergeOutputReplace, WritesInPlaceWhatCannotBeReplaced) {
  OneChange pair;
  const std::string first = pair.dir.write("first", "previous\n");
  ASSERT_EQ(0, ::link(first.c_str(), pair.dir.file("second").c_str()));
  auto linked = pair.merge(first);
  EXPECT_EQ(1, linked.status) << linked.err;
  EXPECT_EQ(OneChange::kMerged, pair.dir.read("first"));
  EXPECT_EQ(OneChange::kMerged, pair.dir.read("second"));

  auto device = pair.merge("/dev/null");
  EXPECT_EQ(1, device.status) << device.err;
  EXPECT_EQ("% ", device.err);

  // The test holds the FIFO open for reading and writing, so that the
  // merge's open does not wait and the text stays in the pipe to be read.
  const std::string fifo = pair.dir.file("fifo");
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  const int reader = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  ASSERT_LE(0, reader);
  auto piped = pair.merge(fifo);
  EXPECT_EQ(1, piped.status) << piped.err;
  char buffer[64];
  const ssize_t got = ::read(reader, buffer, sizeof buffer);
  ::close(reader);
  EXPECT_EQ(OneChange::kMerged,
            std::string(buffer, got > 0 ? static_cast<std::size_t>(got) : 0));
  EXPECT_EQ((Names{"l", "r", "first", "second", "fifo"}),
            names_in(pair.dir.path()));
}

// Run as a user of no privilege: a read-only file of the user's own is
// refused before anything is written. A file the user may write where no
// new file may take its place (a folder closed to the user, another's file
// in a sticky folder) is written in place and keeps its owner.
TEST(MergeOutputReplace, RunByAUserRefusesOrWritesInPlace) {
  if (!testing_support::can_switch_user())
    GTEST_SKIP() << "needs root and setpriv to run as another user";
  constexpr unsigned kRoot = 0;
  struct Case {
    const char* name;
    unsigned folder_owner;
    mode_t folder_mode;
    unsigned file_owner;
    mode_t file_mode;
    bool refused;
  } cases[] = {
      {"read-only file of one's own", kNobody, 0755, kNobody, 0444, true},
      {"writable file in a closed folder", kRoot, 0755, kNobody, 0644, false},
      {"another's file in a sticky folder", kRoot, 01777, kRoot, 0666, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OneChange pair;
    ASSERT_EQ(0, ::chmod(pair.dir.path().c_str(), 0755));
    const std::string folder = pair.dir.file("folder");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0700));
    const std::string out = pair.dir.write("folder/out", "previous\n");
    for (const auto& [path, owner, mode] :
         {std::tuple(folder, c.folder_owner, c.folder_mode),
          std::tuple(out, c.file_owner, c.file_mode)}) {
      ASSERT_EQ(0, ::chown(path.c_str(), owner, owner));
      ASSERT_EQ(0, ::chmod(path.c_str(), mode));
    }

    auto result = pair.merge(out, RunOptions{.user_id = kNobody});
    if (c.refused) {
      EXPECT_EQ(2, result.status);
      EXPECT_EQ("% vrelsdiff: Cannot create output file '" + out +
                    "': Permission denied (os error 13)\n",
                result.err);
      EXPECT_EQ("previous\n", pair.dir.read("folder/out"));
    } else {
      EXPECT_EQ(1, result.status) << result.err;
      EXPECT_EQ(OneChange::kMerged, pair.dir.read("folder/out"));
    }
    struct stat status;
    ASSERT_EQ(0, ::stat(out.c_str(), &status));
    EXPECT_EQ(c.file_owner, status.st_uid);
    EXPECT_EQ(Names{"out"}, names_in(folder));
  }
}

}  // namespace
