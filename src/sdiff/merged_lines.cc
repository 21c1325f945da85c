// One 8192-byte buffer in front of the output file.
#include "sdiff/merged_lines.h"

#include <cstddef>
#include <cstring>

#include "io_utils/fd_io.h"

namespace sdiff {
namespace {

using io_utils::DiffError;
using io_utils::Result;

constexpr std::size_t kCapacity = 8192;

struct BufferedFile {
  int fd = -1;
  char buffer[kCapacity];
  std::size_t used = 0;
};

// Whatever could not be sent stays buffered, at the front.
Result<void> flush_buffer(BufferedFile& file) {
  std::string_view rest(file.buffer, file.used);
  Result<void> result =
      io_utils::write_out(file.fd, rest, io_utils::kWriteBufferedZeroText);
  std::memmove(file.buffer, rest.data(), rest.size());
  file.used = rest.size();
  return result;
}

Result<void> put(BufferedFile& file, std::string_view piece) {
  if (piece.size() > kCapacity - file.used) {
    if (Result<void> flushed = flush_buffer(file); !flushed.ok()) {
      return flushed;
    }
  }
  if (piece.size() >= kCapacity) {
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

Result<void> write_lines(int fd, std::span<const std::string_view> lines) {
  BufferedFile file;
  file.fd = fd;
  Result<void> result = put_lines(file, lines);
  if (!result.ok())
    (void)flush_buffer(file);
  return result;
}

DiffError create_failed(const std::string& path, int error) {
  return DiffError::message("Cannot create output file '" + path +
                            "': " + io_utils::os_error_text(error));
}

DiffError flush_failed(int error) {
  return DiffError::message("Flush error: " + io_utils::os_error_text(error));
}

}  // namespace sdiff
