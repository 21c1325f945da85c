// A new file under a fresh name beside the old one: filled, given the old
// one's attributes, stored, then renamed over it. Until the rename it is
// guarded, so that an interrupt leaves nothing behind.
#include "sdiff/replace_file.h"

#include <errno.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

#include "io_utils/diff_error.h"
#include "io_utils/fd_io.h"
#include "io_utils/random_bits.h"
#include "sdiff/file_attributes.h"
#include "sdiff/merged_lines.h"
#include "sdiff/temporary_file_guard.h"

namespace sdiff {
namespace {

using io_utils::FileDescriptor;
using io_utils::Result;

// Names of new files are random; this many taken ones in a row mean that
// someone is taking them on purpose.
constexpr int kNameAttempts = 100;

// Errors that say no new file may be made in that folder or take the old
// one's place there (no permission, a read-only mount, a sticky folder, a
// file mounted on its own, a name too long for the system), while the old
// file itself may still be written.
bool is_replacement_refused(int error) {
  return error == EACCES || error == EPERM || error == EROFS ||
         error == ENAMETOOLONG || error == EBUSY || error == EXDEV;
}

// A file of our own in `folder`, made exclusively under a fresh name, so
// that nothing planted there is written through.
io_utils::OpenedFile make_new_file(const std::string& folder, mode_t mode) {
  constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = folder + ".vrelsdiff-";
    // Without the system's randomness the names are merely unlikely, and
    // an exclusive creation still never takes a name that is there.
    std::uint64_t bits = io_utils::random_bits();
    for (int letter = 0; letter < 8; ++letter) {
      name += kLetters[bits % kLetters.size()];
      bits /= kLetters.size();
    }
    io_utils::OpenedFile file = create_guarded_file(name, mode);
    if (file.fd.is_open() || file.error != EEXIST)
      return file;
  }
  return {.error = EEXIST};
}

// A file mounted on its own lies on another file system than its folder,
// and no rename can reach it. A file whose owner or group the process may
// not give away would pass to this user; it is written in place instead.
bool may_stand_in(int fd, const struct stat& old) {
  struct stat made;
  return ::fstat(fd, &made) == 0 && made.st_dev == old.st_dev &&
         take_owner(fd, old);
}

// Fills the new file with the lines, makes sure they are stored, and
// renames it over `target`. False when it may not take the target's place.
Result<bool> fill_and_rename(FileDescriptor fd, const std::string& target,
                             const ReplacedFile* old,
                             std::span<const std::string_view> lines,
                             const std::string& path) {
  if (old != nullptr && !may_stand_in(fd.get(), old->status))
    return false;
  if (Result<void> written = write_lines(fd.get(), lines); !written.ok())
    return std::move(written.error());
  if (old != nullptr &&
      !take_attributes_and_mode(old->fd, fd.get(), old->status))
    return false;
  if (::fsync(fd.get()) != 0)
    return flush_failed(errno);
  if (const int error = fd.close(); error != 0)
    return flush_failed(error);
  if (const int error = rename_guarded_file(target); error != 0) {
    if (is_replacement_refused(error))
      return false;
    return create_failed(path, error);
  }
  return true;
}

}  // namespace

Result<bool> replace_file(const std::string& target, const ReplacedFile* old,
                          std::span<const std::string_view> lines,
                          const std::string& path) {
  // A file that stands in for an old one is ours alone until it has taken
  // the old one's owner and mode.
  io_utils::OpenedFile file =
      make_new_file(folder_of(target), old ? 0600 : 0666);
  if (!file.fd.is_open()) {
    if (is_replacement_refused(file.error))
      return false;
    return create_failed(path, file.error);
  }
  Result<bool> replaced =
      fill_and_rename(std::move(file.fd), target, old, lines, path);
  if (!replaced.ok() || !replaced.value())
    remove_guarded_file();
  return replaced;
}

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace sdiff
