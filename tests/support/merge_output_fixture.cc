#include "support/merge_output_fixture.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace testing_support {

Names names_in(const std::string& folder) {
  Names names;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(folder))
    names.insert(entry.path().lexically_relative(folder).string());
  return names;
}

ino_t inode_of(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(0, ::stat(path.c_str(), &status));
  return status.st_ino;
}

RunResult OneChange::merge(const std::string& output,
                           RunOptions options) const {
  options.input = "r\n";
  return run_vrelsdiff({"-o", output, left, right}, options);
}

namespace {

// This test process's mounts become its own, so that what it mounts goes
// with it.
bool use_private_mounts() {
  return ::unshare(CLONE_NEWNS) == 0 &&
         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

}  // namespace

PrivateMount PrivateMount::file_system(const std::string& at, const char* type,
                                       const std::string& options) {
  std::filesystem::create_directory(at);
  return PrivateMount(
      at, use_private_mounts() &&
              ::mount(type, at.c_str(), type, 0, options.c_str()) == 0);
}

PrivateMount PrivateMount::bind(const std::string& source,
                                const std::string& at) {
  return PrivateMount(
      at, use_private_mounts() && ::mount(source.c_str(), at.c_str(), nullptr,
                                          MS_BIND, nullptr) == 0);
}

PrivateMount::~PrivateMount() {
  if (mounted_)
    ::umount2(at_.c_str(), MNT_DETACH);
}

}  // namespace testing_support
