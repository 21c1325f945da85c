// The merged file: a new file that takes the old one's place whole, or,
// where nothing can take its place, the old file written in place; either
// way through one buffer.
#include "sdiff/merged_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "io_utils/diff_error.h"
#include "io_utils/fd_io.h"

namespace sdiff {
namespace {

using io_utils::DiffError;
using io_utils::FileDescriptor;
using io_utils::Result;

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;
// Names of new files are random; this many taken ones in a row mean that
// someone is taking them on purpose.
constexpr int kNameAttempts = 100;

DiffError create_failed(const std::string& path, int error) {
  return DiffError::message("Cannot create output file '" + path +
                            "': " + io_utils::os_error_text(error));
}

DiffError flush_failed(int error) {
  return DiffError::message("Flush error: " + io_utils::os_error_text(error));
}

struct BufferedFile {
  static constexpr std::size_t kCapacity = 8192;

  int fd = -1;
  char buffer[kCapacity];
  std::size_t used = 0;
};

// Sends the buffered bytes to the file; whatever could not be sent stays
// buffered, at the front.
Result<void> flush_buffer(BufferedFile& file) {
  std::string_view rest(file.buffer, file.used);
  Result<void> result =
      io_utils::write_out(file.fd, rest, io_utils::kWriteBufferedZeroText);
  std::memmove(file.buffer, rest.data(), rest.size());
  file.used = rest.size();
  return result;
}

// A piece that does not fit in the space left first sends the buffer on; a
// piece as large as the whole buffer then goes straight to the file.
Result<void> put(BufferedFile& file, std::string_view piece) {
  if (piece.size() > BufferedFile::kCapacity - file.used) {
    if (Result<void> flushed = flush_buffer(file); !flushed.ok()) {
      return flushed;
    }
  }
  if (piece.size() >= BufferedFile::kCapacity) {
    return io_utils::write_all(file.fd, piece);
  }
  std::memcpy(file.buffer + file.used, piece.data(), piece.size());
  file.used += piece.size();
  return {};
}

Result<void> put_lines(BufferedFile& file,
                       std::span<const std::string_view> lines) {
  for (const std::string_view line : lines) {
    Result<void> result = put(file, line);
    if (result.ok())
      result = put(file, "\n");
    if (!result.ok()) {
      return DiffError::message("Write error: " +
                                io_utils::message_text(result.error()));
    }
  }
  if (Result<void> flushed = flush_buffer(file); !flushed.ok()) {
    return DiffError::message("Flush error: " +
                              io_utils::message_text(flushed.error()));
  }
  return {};
}

// The folder part of `path` with its final "/", or "" for a bare name.
std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::optional<std::string> read_link(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length =
        ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0)
      return std::nullopt;
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      return target;
    }
    target.resize(2 * target.size());
  }
}

// Where `path` leads once the symbolic links at its end are followed: the
// file to replace, which may not exist yet. The folders on the way are left
// as written, since a rename goes through them just as an open does.
// Nothing when the path ends in "/", the links go round, or the way cannot
// be read.
std::optional<std::string> final_target(std::string path) {
  for (int links = 0; links <= kMaxLinks; ++links) {
    if (path.empty() || path.back() == '/')
      return std::nullopt;
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0) {
      if (errno == ENOENT)
        return path;
      return std::nullopt;
    }
    if (!S_ISLNK(status.st_mode))
      return path;
    std::optional<std::string> target = read_link(path);
    if (!target || target->empty())
      return std::nullopt;
    path = target->front() == '/' ? *target : folder_of(path) + *target;
  }
  return std::nullopt;
}

bool is_same_file(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Standard output may be the output file itself ("-o /dev/stdout" with the
// listing sent to a file); a new file would part the two.
bool is_a_standard_stream(const struct stat& file) {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    struct stat stream;
    if (::fstat(fd, &stream) == 0 && is_same_file(stream, file))
      return true;
  }
  return false;
}

// The path of the existing file, opened as `opened`, that a new file may
// replace: a regular file with no other name, found again where the path's
// links end. Nothing for anything else (a device, a FIFO, a file with more
// names), which is written in place.
std::optional<std::string> replaceable_path(const std::string& path,
                                            const struct stat& opened) {
  if (!S_ISREG(opened.st_mode) || opened.st_nlink != 1 ||
      is_a_standard_stream(opened))
    return std::nullopt;
  std::optional<std::string> target = final_target(path);
  struct stat found;
  if (!target || ::lstat(target->c_str(), &found) != 0 ||
      !is_same_file(found, opened))
    return std::nullopt;
  return target;
}

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
        io_utils::open_file(name, O_WRONLY | O_CREAT | O_EXCL, mode);
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
  BufferedFile buffered;
  buffered.fd = file.fd.get();
  if (Result<void> written = put_lines(buffered, lines); !written.ok())
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

// Writes the lines to a new file beside `target` (the file `old` describes,
// or nothing yet when `old` is null) that then replaces it. False, with
// nothing changed, when that cannot be done there and the caller is to
// write in place. On every failure the new file is gone.
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

// Writes the lines to `fd`, dropping the old content first when asked.
// After a failed write what is still buffered gets one more try; the first
// error is the one reported.
Result<void> write_in_place(FileDescriptor fd, bool drop_old_content,
                            const std::string& path,
                            std::span<const std::string_view> lines) {
  if (drop_old_content && ::ftruncate(fd.get(), 0) != 0)
    return create_failed(path, errno);
  BufferedFile file;
  file.fd = fd.get();
  Result<void> result = put_lines(file, lines);
  if (!result.ok()) {
    (void)flush_buffer(file);
    return result;
  }
  if (const int error = fd.close(); error != 0)
    return flush_failed(error);
  return {};
}

}  // namespace

Result<void> write_merged_file(const std::string& path,
                               std::span<const std::string_view> lines) {
  // Opening the old file for writing first means that a file this process
  // may not write is refused, not replaced.
  io_utils::OpenedFile old = io_utils::open_file(path, O_WRONLY);
  if (!old.fd.is_open() && old.error != ENOENT)
    return create_failed(path, old.error);

  struct stat old_status;
  std::optional<std::string> target;
  if (old.fd.is_open()) {
    if (::fstat(old.fd.get(), &old_status) != 0)
      return create_failed(path, errno);
    target = replaceable_path(path, old_status);
  } else {
    target = final_target(path);
  }
  if (target) {
    Result<bool> replaced = replace_file(
        *target, old.fd.is_open() ? &old_status : nullptr, lines, path);
    if (!replaced.ok())
      return std::move(replaced.error());
    if (replaced.value())
      return {};
  }

  if (old.fd.is_open()) {
    // Only a regular file has content to drop; a device or a FIFO has none.
    return write_in_place(std::move(old.fd), S_ISREG(old_status.st_mode), path,
                          lines);
  }
  io_utils::OpenedFile created =
      io_utils::open_file(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (!created.fd.is_open())
    return create_failed(path, created.error);
  return write_in_place(std::move(created.fd), false, path, lines);
}

}  // namespace sdiff
