// One 8192-byte buffer in front of the output file, and a dry run of it
// that says which of its writes would meet a full file first.
#include "sdiff/merged_lines.h"

#include <cstddef>
#include <cstring>

#include "io_utils/fd_io.h"

namespace sdiff {
namespace {

using io_utils::DiffError;
using io_utils::Result;

constexpr std::size_t kCapacity = 8192;

// How one piece goes out when `used` bytes are buffered: the buffer is
// sent first when the piece does not fit in the room left, and the piece
// then goes straight to the file when it is as large as the whole buffer.
// Both the writer and its dry run follow this one rule.
struct PiecePlan {
  bool send_buffer_first;
  bool straight_to_file;
};

PiecePlan plan_piece(std::size_t used, std::size_t piece_size) {
  return {.send_buffer_first = piece_size > kCapacity - used,
          .straight_to_file = piece_size >= kCapacity};
}

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
  const PiecePlan plan = plan_piece(file.used, piece.size());
  if (plan.send_buffer_first) {
    if (Result<void> flushed = flush_buffer(file); !flushed.ok()) {
      return flushed;
    }
  }
  if (plan.straight_to_file) {
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

// The writer's bookkeeping without the bytes: how much has gone to the
// file and how much sits in the buffer.
struct DryRun {
  std::uint64_t sent = 0;
  std::size_t used = 0;
};

// Whether sending `size` more bytes passes `room`.
bool send_passes(DryRun& run, std::uint64_t size, std::uint64_t room) {
  run.sent += size;
  return run.sent > room;
}

// Whether putting the piece makes a write that passes `room`.
bool put_passes(DryRun& run, std::size_t piece_size, std::uint64_t room) {
  const PiecePlan plan = plan_piece(run.used, piece_size);
  if (plan.send_buffer_first) {
    if (send_passes(run, run.used, room))
      return true;
    run.used = 0;
  }
  if (plan.straight_to_file)
    return send_passes(run, piece_size, room);
  run.used += piece_size;
  return false;
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

std::uint64_t merged_size(std::span<const std::string_view> lines) {
  std::uint64_t size = 0;
  for (const std::string_view line : lines) size += line.size() + 1;
  return size;
}

DiffError predicted_failure(std::span<const std::string_view> lines,
                            std::uint64_t room, int error) {
  DryRun run;
  for (const std::string_view line : lines) {
    if (put_passes(run, line.size(), room) || put_passes(run, 1, room))
      return DiffError::message("Write error: " +
                                io_utils::os_error_text(error));
  }
  return flush_failed(error);
}

DiffError create_failed(const std::string& path, int error) {
  return DiffError::message("Cannot create output file '" + path +
                            "': " + io_utils::os_error_text(error));
}

DiffError flush_failed(int error) {
  return DiffError::message("Flush error: " + io_utils::os_error_text(error));
}

}  // namespace sdiff
