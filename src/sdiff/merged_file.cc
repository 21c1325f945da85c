// The merged file: created or truncated, written through one buffer.
#include "sdiff/merged_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <string_view>

#include "io_utils/diff_error.h"
#include "io_utils/fd_io.h"

namespace sdiff {
namespace {

using io_utils::DiffError;
using io_utils::Result;

struct BufferedFile {
  static constexpr std::size_t kCapacity = 8192;

  int fd = -1;
  char buffer[kCapacity];
  std::size_t used = 0;
};

// Sends the buffered bytes to the file; whatever could not be sent stays
// buffered, at the front.
Result<void> flush_buffer(BufferedFile& file) {
  std::size_t sent = 0;
  Result<void> result;
  while (sent < file.used) {
    ssize_t n = ::write(file.fd, file.buffer + sent, file.used - sent);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      result = DiffError::message(io_utils::os_error_text(errno));
      break;
    }
    if (n == 0) {
      result =
          DiffError::message(std::string(io_utils::kWriteBufferedZeroText));
      break;
    }
    sent += static_cast<std::size_t>(n);
  }
  std::memmove(file.buffer, file.buffer + sent, file.used - sent);
  file.used -= sent;
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

}  // namespace

Result<void> write_merged_file(const std::string& path,
                               std::span<const std::string_view> lines) {
  BufferedFile file;
  do {
    file.fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (file.fd < 0 && errno == EINTR);
  if (file.fd < 0) {
    return DiffError::message("Cannot create output file '" + path +
                              "': " + io_utils::os_error_text(errno));
  }
  Result<void> result = put_lines(file, lines);
  if (!result.ok()) {
    // One last try for what is still buffered; the first error is the one
    // reported.
    (void)flush_buffer(file);
  }
  ::close(file.fd);
  return result;
}

}  // namespace sdiff
