// Owned descriptors, interrupted calls repeated, errors as values.
#include "io_utils/fd_io.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace io_utils {
namespace {

// How much a full buffer grows by at the least before the next read: enough
// to find the end of a regular file whose size was known at once, and to
// let a pipe's buffer grow quickly.
constexpr std::size_t kReadStep = std::size_t{64} << 10;

}  // namespace

FileDescriptor::~FileDescriptor() {
  (void)close();
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

int FileDescriptor::close() {
  if (fd_ < 0)
    return 0;
  // Linux releases the descriptor even when close fails or is interrupted,
  // so it is never closed twice.
  const int result = ::close(std::exchange(fd_, -1));
  return result == 0 ? 0 : errno;
}

OpenedFile open_file(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0)
    return {.error = errno};
  return {.fd = FileDescriptor(fd)};
}

ReadResult read_some(int fd, ByteBuffer& out, std::size_t limit) {
  if (out.spare_size() == 0)
    out.reserve(std::max(out.size() + kReadStep, 2 * out.capacity()));
  for (;;) {
    const ssize_t count =
        ::read(fd, out.spare(), std::min(out.spare_size(), limit));
    if (count >= 0) {
      out.commit(static_cast<std::size_t>(count));
      return {.count = static_cast<std::size_t>(count)};
    }
    if (errno != EINTR)
      return {.error = errno};
  }
}

int read_to_end(int fd, ByteBuffer& out, std::size_t expected_size) {
  // One byte beyond the expected size lets the read that finds the end
  // land in room already there.
  if (expected_size > 0)
    out.reserve(out.size() + expected_size + 1);
  for (;;) {
    const ReadResult read =
        read_some(fd, out, std::numeric_limits<std::size_t>::max());
    if (read.error != 0 || read.count == 0)
      return read.error;
  }
}

Result<void> write_out(int fd, std::string_view& rest,
                       std::string_view zero_write_text) {
  while (!rest.empty()) {
    const ssize_t written = ::write(fd, rest.data(), rest.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return DiffError::message(os_error_text(errno));
    }
    if (written == 0)
      return DiffError::message(std::string(zero_write_text));
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

Result<void> write_all(int fd, std::string_view data,
                       std::string_view zero_write_text) {
  return write_out(fd, data, zero_write_text);
}

}  // namespace io_utils
