// A new merged file takes the old one's place only with all the old one
// had: its access-control list and other extended attributes, its owner
// and its group. Where it cannot have them, the old file is written in
// place and keeps them.
#include <errno.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "support/merge_output_fixture.h"
#include "support/run_binary.h"

namespace {

using testing_support::inode_of;
using testing_support::kNobody;
using testing_support::Names;
using testing_support::names_in;
using testing_support::OneChange;
using testing_support::RunOptions;
using Attributes = std::map<std::string, std::string>;

constexpr const char* kAccessList = "system.posix_acl_access";
constexpr const char* kDefaultList = "system.posix_acl_default";

// One entry of an access-control list: its kind, what it allows (read 4,
// write 2, execute 1) and, for a named user, whom.
struct AclEntry {
  std::uint16_t tag;
  std::uint16_t permissions;
  std::uint32_t id = UINT32_MAX;
};
constexpr std::uint16_t kOwner = 0x01, kUser = 0x02, kOwningGroup = 0x04,
                        kMask = 0x10, kOthers = 0x20;

// The list as the kernel stores it: a version word, then each entry in
// little-endian order, the entries sorted by tag.
std::string acl_value(std::initializer_list<AclEntry> entries) {
  std::string value;
  const auto put = [&value](std::uint32_t number, int bytes) {
    for (int i = 0; i < bytes; ++i)
      value += static_cast<char>((number >> (8 * i)) & 0xff);
  };
  put(2, 4);
  for (const AclEntry& entry : entries) {
    put(entry.tag, 2);
    put(entry.permissions, 2);
    put(entry.id, 4);
  }
  return value;
}

// Read for everyone but the user of no privilege, who gets nothing.
const std::string kDeniesNobody = acl_value({{kOwner, 6},
                                             {kUser, 0, kNobody},
                                             {kOwningGroup, 4},
                                             {kMask, 4},
                                             {kOthers, 4}});

// Every extended attribute of a file and its value.
Attributes attributes_of(const std::string& path) {
  Attributes attributes;
  char names[4096];
  const ssize_t length = ::listxattr(path.c_str(), names, sizeof names);
  EXPECT_LE(0, length) << path;
  for (ssize_t at = 0; at < length;) {
    const std::string name(names + at);
    char value[4096];
    const ssize_t size =
        ::getxattr(path.c_str(), name.c_str(), value, sizeof value);
    EXPECT_LE(0, size) << name;
    attributes[name] =
        std::string(value, size > 0 ? static_cast<std::size_t>(size) : 0);
    at += static_cast<ssize_t>(name.size() + 1);
  }
  return attributes;
}

// False, with the reason in `skip`, where the file system does not keep
// the attribute.
bool set_attribute(const std::string& path, const std::string& name,
                   const std::string& value, std::string& skip) {
  if (::setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) ==
      0)
    return true;
  EXPECT_EQ(ENOTSUP, errno) << name;
  skip = "the file system of the test folder does not keep " + name;
  return false;
}

// That the user of no privilege may not open the file for reading, tried in
// a child that becomes that user; only where the test runs as root.
void expect_closed_to_nobody(const std::string& path) {
  if (::geteuid() != 0)
    return;
  const pid_t child = ::fork();
  if (child == 0) {
    const bool switched = ::setgroups(0, nullptr) == 0 &&
                          ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
    const int fd = switched ? ::open(path.c_str(), O_RDONLY) : -1;
    ::_exit(!switched ? 2 : fd >= 0 ? 0 : errno == EACCES ? 1 : 3);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(1, WEXITSTATUS(status)) << "0: readable, 2: no switch, 3: other";
}

// The replacement carries the old file's list, so a user it denies is
// still denied, and every other attribute with it.
TEST(MergeOutputAttributes, TheNewFileKeepsTheOldOnesAttributes) {
  OneChange pair;
  ASSERT_EQ(0, ::chmod(pair.dir.path().c_str(), 0755));
  const std::string out = pair.dir.write("out", "previous\n");
  ASSERT_EQ(0, ::chmod(out.c_str(), 0644));
  std::string skip;
  if (!set_attribute(out, kAccessList, kDeniesNobody, skip) ||
      !set_attribute(out, "user.origin", "kept", skip))
    GTEST_SKIP() << skip;
  const Attributes before = attributes_of(out);
  const ino_t old_inode = inode_of(out);
  expect_closed_to_nobody(out);

  auto result = pair.merge(out);
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ(OneChange::kMerged, pair.dir.read("out"));
  EXPECT_NE(old_inode, inode_of(out));  // replaced, not written in place
  EXPECT_EQ(before, attributes_of(out));
  expect_closed_to_nobody(out);
  EXPECT_EQ((Names{"l", "r", "out"}), names_in(pair.dir.path()));
}

// A folder's default list hands itself down to every new file; the
// replacement drops what the old file did not have, or the mode's group
// bits would open the file to the user the list names.
TEST(MergeOutputAttributes, TheNewFileHasNoAttributesTheOldOneLacked) {
  OneChange pair;
  ASSERT_EQ(0, ::chmod(pair.dir.path().c_str(), 0755));
  const std::string folder = pair.dir.file("shared");
  ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
  const std::string out = pair.dir.write("shared/out", "previous\n");
  ASSERT_EQ(0, ::chmod(out.c_str(), 0640));
  std::string skip;
  if (!set_attribute(folder, kDefaultList,
                     acl_value({{kOwner, 7},
                                {kUser, 6, kNobody},
                                {kOwningGroup, 5},
                                {kMask, 7},
                                {kOthers, 0}}),
                     skip))
    GTEST_SKIP() << skip;
  const Attributes before = attributes_of(out);

  auto result = pair.merge(out);
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ(OneChange::kMerged, pair.dir.read("shared/out"));
  EXPECT_EQ(before, attributes_of(out));
  expect_closed_to_nobody(out);
  EXPECT_EQ(Names{"out"}, names_in(folder));
}

// Run as a user of no privilege in a folder of that user's own, where a
// new file could take the old one's place: where it could not have the old
// one's owner, group or attributes, the old file is written in place and
// keeps them, as far as the kernel lets a write keep them.
TEST(MergeOutputAttributes, RunByAUserWritesInPlaceWhatTheNewFileCannotTake) {
  if (!testing_support::can_switch_user())
    GTEST_SKIP() << "needs root and setpriv to run as another user";
  constexpr unsigned kRoot = 0;
  // File capabilities: version 2, a permitted set, no inherited one. Only
  // a process allowed to set capabilities may give a file this attribute.
  std::string capability(20, '\0');
  capability[3] = 2;
  capability[5] = 4;  // bit 10, binding low ports
  struct Case {
    const char* name;
    unsigned owner;
    unsigned group;
    mode_t mode;
    const char* attribute;  // with `value`, or none
    std::string value;
    bool in_place;
  } cases[] = {
      {"one's own file with an attribute one may set", kNobody, kNobody, 0644,
       "user.origin", "kept", false},
      {"one's own file with a capability one may not set", kNobody, kNobody,
       0755, "security.capability", capability, true},
      {"root's file open to all", kRoot, kRoot, 0666, nullptr, "", true},
      {"one's own file of another's group", kNobody, kRoot, 02775, nullptr, "",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OneChange pair;
    ASSERT_EQ(0, ::chmod(pair.dir.path().c_str(), 0755));
    const std::string folder = pair.dir.file("folder");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    ASSERT_EQ(0, ::chown(folder.c_str(), kNobody, kNobody));
    const std::string out = pair.dir.write("folder/out", "previous\n");
    ASSERT_EQ(0, ::chown(out.c_str(), c.owner, c.group));
    ASSERT_EQ(0, ::chmod(out.c_str(), c.mode));
    std::string skip;
    if (c.attribute && !set_attribute(out, c.attribute, c.value, skip))
      GTEST_SKIP() << skip;
    const ino_t old_inode = inode_of(out);

    auto result = pair.merge(out, RunOptions{.user_id = kNobody});
    EXPECT_EQ(1, result.status) << result.err;
    EXPECT_EQ(OneChange::kMerged, pair.dir.read("folder/out"));
    EXPECT_EQ(c.in_place, old_inode == inode_of(out));
    struct stat status {};
    ASSERT_EQ(0, ::stat(out.c_str(), &status));
    EXPECT_EQ(c.owner, status.st_uid);
    EXPECT_EQ(c.group, status.st_gid);
    // A write by someone outside the file's group may clear set-group-ID;
    // that is the kernel's choice, the permission bits are not.
    EXPECT_EQ(c.mode & 0777, status.st_mode & 0777);
    EXPECT_EQ(Names{"out"}, names_in(folder));
  }
}

}  // namespace
