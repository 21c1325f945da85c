// A new file under a fresh name beside the old one: given the old one's
// owner and mode, filled, stored, then renamed over it.
#include "sdiff/replace_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/random.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

#include "io_utils/diff_error.h"
#include "io_utils/fd_io.h"
#include "sdiff/merged_lines.h"

namespace sdiff {
namespace {

using io_utils::FileDescriptor;
using io_utils::Result;

// Names of new files are random; this many taken ones in a row mean that
// someone is taking them on purpose.
constexpr int kNameAttempts = 100;

// Errors that say no new file may be made in that folder or take the old
// one's place there (no permission, a read-only mount, a sticky folder, a
// file mounted on its own), while the old file itself may still be written.
bool is_replacement_refused(int error) {
  return error == EACCES || error == EPERM || error == EROFS ||
         error == ENAMETOOLONG || error == EBUSY || error == EXDEV;
}

std::uint64_t random_bits() {
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == sizeof bits)
    return bits;
  // Without the system's randomness the names are merely unlikely, and an
  // exclusive creation still never takes a name that is there.
  timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  static std::uint64_t counter = 0;
  return (static_cast<std::uint64_t>(now.tv_nsec) << 20) ^
         static_cast<std::uint64_t>(now.tv_sec) ^
         (static_cast<std::uint64_t>(::getpid()) << 40) ^ ++counter;
}

struct NewFile {
  std::string path;
  FileDescriptor fd;
  int error = 0;
};

// A file of our own in `folder`, made exclusively under a fresh name, so
// that nothing planted there is written through.
NewFile make_new_file(const std::string& folder, mode_t mode) {
  constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = folder + ".vrelsdiff-";
    std::uint64_t bits = random_bits();
    for (int letter = 0; letter < 8; ++letter) {
      name += kLetters[bits % kLetters.size()];
      bits /= kLetters.size();
    }
    io_utils::OpenedFile file =
        io_utils::open_file(name, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY, mode);
    if (file.fd.is_open())
      return {.path = std::move(name), .fd = std::move(file.fd)};
    if (file.error != EEXIST)
      return {.error = file.error};
  }
  return {.error = EEXIST};
}

// The new file takes the old one's owner and group where the process may
// set them, then its permission bits, which a change of owner may clear.
bool take_attributes(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0)
    (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Fills `file` with the lines, makes sure they are stored, and renames it
// over `target`. False when the file may not take the target's place.
Result<bool> fill_and_rename(NewFile& file, const std::string& target,
                             const struct stat* old,
                             std::span<const std::string_view> lines,
                             const std::string& path) {
  if (old != nullptr) {
    // A file mounted on its own lies on another file system than its
    // folder, and no rename can reach it.
    struct stat made;
    if (::fstat(file.fd.get(), &made) != 0 || made.st_dev != old->st_dev ||
        !take_attributes(file.fd.get(), *old))
      return false;
  }
  if (Result<void> written = write_lines(file.fd.get(), lines); !written.ok())
    return std::move(written.error());
  if (::fsync(file.fd.get()) != 0)
    return flush_failed(errno);
  if (const int error = file.fd.close(); error != 0)
    return flush_failed(error);
  if (::rename(file.path.c_str(), target.c_str()) != 0) {
    if (is_replacement_refused(errno))
      return false;
    return create_failed(path, errno);
  }
  return true;
}

}  // namespace

Result<bool> replace_file(const std::string& target, const struct stat* old,
                          std::span<const std::string_view> lines,
                          const std::string& path) {
  // A file that stands in for an old one is ours alone until it has taken
  // the old one's owner and mode.
  NewFile file = make_new_file(folder_of(target), old ? 0600 : 0666);
  if (!file.fd.is_open()) {
    if (is_replacement_refused(file.error))
      return false;
    return create_failed(path, file.error);
  }
  Result<bool> replaced = fill_and_rename(file, target, old, lines, path);
  if (!replaced.ok() || !replaced.value())
    ::unlink(file.path.c_str());
  return replaced;
}

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace sdiff
