// The merged file: created or truncated, written through one buffer.
#include "sdiff/merged_file.h"

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

}  // namespace

Result<void> write_merged_file(const std::string& path,
                               std::span<const std::string_view> lines) {
  io_utils::OpenedFile output =
      io_utils::open_file(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (!output.fd.is_open()) {
    return DiffError::message("Cannot create output file '" + path +
                              "': " + io_utils::os_error_text(output.error));
  }
  BufferedFile file;
  file.fd = output.fd.get();
  Result<void> result = put_lines(file, lines);
  if (!result.ok()) {
    // One last try for what is still buffered; the first error is the one
    // reported.
    (void)flush_buffer(file);
  }
  return result;
}

}  // namespace sdiff
