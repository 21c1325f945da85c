// The program's one layer over file descriptors: an owned descriptor, an
// open that is repeated when interrupted, reading to the end, and whole
// writes with the error texts the modes report.
#ifndef VRELSDIFF_IO_UTILS_FD_IO_H_
#define VRELSDIFF_IO_UTILS_FD_IO_H_

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "io_utils/page_memory.h"
#include "io_utils/result.h"

namespace io_utils {

// An open descriptor that is closed when its owner goes, on every path.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool is_open() const { return fd_ >= 0; }

  // Closes now, for a writer that must know whether the data arrived;
  // returns 0 or the errno of close. Either way nothing is open afterwards.
  int close();

 private:
  int fd_ = -1;
};

// An opened descriptor, or the errno of the failed open.
struct OpenedFile {
  FileDescriptor fd;
  int error = 0;
};

// open(2) with O_CLOEXEC added, repeated while a signal interrupts it.
OpenedFile open_file(const std::string& path, int flags, mode_t mode = 0);

// What one read brought: `count` bytes, none at the end of input, or the
// errno of a failed read.
struct ReadResult {
  std::size_t count = 0;
  int error = 0;
};

// Reads once, at most `limit` bytes, into the room after the bytes `out`
// holds, growing it first when it is full; an interrupted read is
// repeated.
ReadResult read_some(int fd, ByteBuffer& out, std::size_t limit);

// Appends what `fd` yields up to the end of input to `out`, repeating
// interrupted reads, and returns 0 or the errno of the read that failed;
// what came before a failure stays in `out`. `expected_size` only sizes the
// buffer up front: the input may turn out longer or shorter.
int read_to_end(int fd, ByteBuffer& out, std::size_t expected_size = 0);

// Writes `rest` until all of it is written or a write fails, repeating
// interrupted and partial writes; afterwards `rest` holds what was not
// written, so that a caller may try it again. On failure the error is a
// Message holding the I/O error's text alone: the errno text, or
// `zero_write_text` when the system accepted zero bytes.
Result<void> write_out(int fd, std::string_view& rest,
                       std::string_view zero_write_text = kWriteZeroText);

// write_out for a caller that has no use for the rest.
Result<void> write_all(int fd, std::string_view data,
                       std::string_view zero_write_text = kWriteZeroText);

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_FD_IO_H_
