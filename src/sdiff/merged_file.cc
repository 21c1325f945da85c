// The merged file: a new file that takes the old one's place whole, or,
// where nothing can take its place, the old file written in place.
#include "sdiff/merged_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

#include "io_utils/fd_io.h"
#include "sdiff/in_place_file.h"
#include "sdiff/merged_lines.h"
#include "sdiff/replace_file.h"

namespace sdiff {
namespace {

using io_utils::Result;

// As many links as the system itself follows before it gives up.
constexpr int kMaxLinks = 40;

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

}  // namespace

Result<void> write_merged_file(const std::string& path,
                               std::span<const std::string_view> lines) {
  // Opening the old file for writing first means that a file this process
  // may not write is refused, not replaced.
  io_utils::OpenedFile old = io_utils::open_file(path, O_WRONLY | O_NOCTTY);
  if (!old.fd.is_open() && old.error != ENOENT)
    return create_failed(path, old.error);

  ReplacedFile replaced_file;
  std::optional<std::string> target;
  if (old.fd.is_open()) {
    replaced_file.fd = old.fd.get();
    if (::fstat(old.fd.get(), &replaced_file.status) != 0)
      return create_failed(path, errno);
    target = replaceable_path(path, replaced_file.status);
  } else {
    target = final_target(path);
  }
  if (target) {
    Result<bool> replaced = replace_file(
        *target, old.fd.is_open() ? &replaced_file : nullptr, lines, path);
    if (!replaced.ok())
      return std::move(replaced.error());
    if (replaced.value())
      return {};
  }

  if (old.fd.is_open())
    return write_in_place(std::move(old.fd), path, lines);
  // Not truncated on opening: should a file turn up under the name
  // meanwhile, the in-place writer checks for room before it writes over
  // that file, and cuts it afterwards.
  io_utils::OpenedFile created =
      io_utils::open_file(path, O_WRONLY | O_CREAT | O_NOCTTY, 0666);
  if (!created.fd.is_open())
    return create_failed(path, created.error);
  return write_in_place(std::move(created.fd), path, lines);
}

}  // namespace sdiff
