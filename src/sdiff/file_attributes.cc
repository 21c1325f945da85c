// Owner, extended attributes and mode, read from and set through the
// descriptors, so that no path can lead elsewhere in between.
#include "sdiff/file_attributes.h"

#include <errno.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sdiff {
namespace {

// Room for a first try; a list or value that is larger says so.
constexpr std::size_t kFirstTry = 256;

// The names of the file's extended attributes, none where its file system
// has none, or nothing when they cannot be listed.
std::optional<std::vector<std::string>> attribute_names(int fd) {
  std::string list(kFirstTry, '\0');
  for (;;) {
    const ssize_t length = ::flistxattr(fd, list.data(), list.size());
    if (length >= 0) {
      list.resize(static_cast<std::size_t>(length));
      break;
    }
    if (errno == ENOTSUP)
      return std::vector<std::string>();
    if (errno != ERANGE)
      return std::nullopt;
    // The list has grown since it was measured, or was never measured.
    const ssize_t needed = ::flistxattr(fd, nullptr, 0);
    if (needed < 0)
      return std::nullopt;
    list.resize(std::max(2 * list.size(), static_cast<std::size_t>(needed)));
  }
  std::vector<std::string> names;
  for (std::size_t start = 0; start < list.size();) {
    const std::size_t end = list.find('\0', start);
    names.push_back(list.substr(start, end - start));
    start = end == std::string::npos ? list.size() : end + 1;
  }
  return names;
}

enum class ValueRead { Read, Gone, Failed };

// The value of one attribute; Gone when it was removed since the listing.
ValueRead read_value(int fd, const std::string& name, std::string& value) {
  value.assign(kFirstTry, '\0');
  for (;;) {
    const ssize_t length =
        ::fgetxattr(fd, name.c_str(), value.data(), value.size());
    if (length >= 0) {
      value.resize(static_cast<std::size_t>(length));
      return ValueRead::Read;
    }
    if (errno == ENODATA)
      return ValueRead::Gone;
    if (errno != ERANGE)
      return ValueRead::Failed;
    const ssize_t needed = ::fgetxattr(fd, name.c_str(), nullptr, 0);
    if (needed < 0)
      return errno == ENODATA ? ValueRead::Gone : ValueRead::Failed;
    value.resize(std::max(2 * value.size(), static_cast<std::size_t>(needed)));
  }
}

// A new file may be born with attributes of its own, such as the
// access-control list that a folder's default list hands down; those the
// old file lacks go, then the old file's are set.
bool copy_attributes(int old_fd, int fd) {
  const std::optional<std::vector<std::string>> old_names =
      attribute_names(old_fd);
  const std::optional<std::vector<std::string>> new_names = attribute_names(fd);
  if (!old_names || !new_names)
    return false;
  for (const std::string& name : *new_names) {
    if (std::find(old_names->begin(), old_names->end(), name) ==
            old_names->end() &&
        ::fremovexattr(fd, name.c_str()) != 0 && errno != ENODATA)
      return false;
  }
  std::string value;
  for (const std::string& name : *old_names) {
    switch (read_value(old_fd, name, value)) {
      case ValueRead::Gone:
        continue;
      case ValueRead::Failed:
        return false;
      case ValueRead::Read:
        if (::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0)
          return false;
        continue;
    }
  }
  return true;
}

}  // namespace

bool take_owner(int fd, const struct stat& old) {
  return ::fchown(fd, old.st_uid, old.st_gid) == 0;
}

bool take_attributes_and_mode(int old_fd, int fd, const struct stat& old) {
  // An access-control list sets the group bits of the mode as well; the
  // old mode agrees with the old list, so setting it last changes neither.
  return copy_attributes(old_fd, fd) && ::fchmod(fd, old.st_mode & 07777) == 0;
}

}  // namespace sdiff
