// What the tests of the merged file share: a pair with one changed row, the
// names a folder holds, and mounts of the test's own.
#ifndef VRELSDIFF_TESTS_SUPPORT_MERGE_OUTPUT_FIXTURE_H_
#define VRELSDIFF_TESTS_SUPPORT_MERGE_OUTPUT_FIXTURE_H_

#include <sys/types.h>

#include <set>
#include <string>
#include <utility>

#include "support/run_binary.h"
#include "support/temp_dir.h"

namespace testing_support {

using Names = std::set<std::string>;

// The user of no privilege that tests run the program as.
constexpr unsigned kNobody = 65534;

// Every name under a folder, relative to it, to see that a merge left
// nothing of its own behind.
Names names_in(const std::string& folder);

// The inode number of the file at `path`, to tell whether it was written
// in place; fails the test when there is none.
ino_t inode_of(const std::string& path);

// A folder with a pair of one changed row, merged with "r".
struct OneChange {
  TempDir dir;
  std::string left = dir.write("l", "a\nold\n");
  std::string right = dir.write("r", "a\nnew\n");
  static constexpr const char* kMerged = "a\nnew\n";

  RunResult merge(const std::string& output, RunOptions options = {}) const;
};

// A mount private to this test process and its children, so that a test
// that stops half-way leaves none behind; unmounted when it goes.
class PrivateMount {
 public:
  // A file system of `type` ("tmpfs", "ramfs") with `options` on the
  // folder `at`, made when missing.
  static PrivateMount file_system(const std::string& at, const char* type,
                                  const std::string& options = "");
  // `source`, a file or a folder, shown at `at` as well.
  static PrivateMount bind(const std::string& source, const std::string& at);
  ~PrivateMount();
  PrivateMount(const PrivateMount&) = delete;
  PrivateMount& operator=(const PrivateMount&) = delete;

  // False where mounting needs privileges the process lacks.
  bool mounted() const { return mounted_; }

 private:
  PrivateMount(std::string at, bool mounted)
      : at_(std::move(at)), mounted_(mounted) {}

  std::string at_;
  bool mounted_ = false;
};

}  // namespace testing_support

#endif  // VRELSDIFF_TESTS_SUPPORT_MERGE_OUTPUT_FIXTURE_H_
