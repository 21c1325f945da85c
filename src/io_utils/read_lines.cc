// Reading an input file whole, checking it is UTF-8 and splitting it into
// lines.
#include "io_utils/read_lines.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <string_view>
#include <utility>

#include "io_utils/normalize.h"
#include "io_utils/utf8.h"

namespace io_utils {
namespace {

constexpr std::size_t kReadBufferSize = 8192;
// Bytes per line assumed when reserving the list from the file size. Set
// below most files' average so that the list is rarely moved while it grows:
// capacity that no line fills costs address space, not memory.
constexpr std::size_t kShortLineSize = 16;

// Closes the descriptor on every way out of the reading.
class FileCloser {
 public:
  explicit FileCloser(int fd) : fd_(fd) {}
  ~FileCloser() { ::close(fd_); }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;

 private:
  int fd_;
};

DiffError os_error(const std::string& path, int errnum) {
  return DiffError::message(path + ": " + os_error_text(errnum));
}

// Lines as they are read. A line may begin in one read and end in a later
// one: its first bytes wait in `pending` until its "\n" comes.
struct LineReader {
  std::vector<std::string> lines;
  std::string pending;

  // Takes one line, checked as it is finished. One "\r" before the "\n"
  // goes with the line end; a last line without "\n" keeps all its bytes.
  bool finish(std::string_view line, bool had_line_end) {
    if (!is_valid_utf8(line))
      return false;
    if (had_line_end && !line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    lines.emplace_back(line);
    return true;
  }

  bool take(std::string_view bytes) {
    for (;;) {
      std::size_t newline = bytes.find('\n');
      if (newline == std::string_view::npos) {
        pending.append(bytes);
        return true;
      }
      bool valid;
      if (pending.empty()) {
        valid = finish(bytes.substr(0, newline), true);
      } else {
        pending.append(bytes.substr(0, newline));
        valid = finish(pending, true);
        pending.clear();
      }
      if (!valid)
        return false;
      bytes.remove_prefix(newline + 1);
    }
  }
};

// Reads `fd` to its end through one buffer, line by line. `expected_size`
// only sizes the list up front; the file may be longer or shorter by the
// time it is read.
Result<std::vector<std::string>> read_lines(int fd, const std::string& path,
                                            std::size_t expected_size) {
  LineReader reader;
  reader.lines.reserve(expected_size / kShortLineSize);
  char buffer[kReadBufferSize];
  for (;;) {
    ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count > 0) {
      // Each line is checked as soon as it is whole, so a malformed line
      // is reported even when a later read fails.
      if (!reader.take(
              std::string_view(buffer, static_cast<std::size_t>(count))))
        return DiffError::invalid_utf8(path);
      continue;
    }
    if (count == 0)
      break;
    if (errno == EINTR)
      continue;
    return os_error(path, errno);
  }
  if (!reader.pending.empty() && !reader.finish(reader.pending, false))
    return DiffError::invalid_utf8(path);
  return std::move(reader.lines);
}

}  // namespace

Result<std::vector<std::string>> read_file_lines(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0)
    return DiffError::not_found(path);
  if (S_ISDIR(status.st_mode))
    return DiffError::is_directory(path);

  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM) {
      return DiffError::permission_denied(path);
    }
    return os_error(path, errno);
  }
  FileCloser closer(fd);

  std::size_t expected_size = S_ISREG(status.st_mode) && status.st_size > 0
                                  ? static_cast<std::size_t>(status.st_size)
                                  : 0;
  return read_lines(fd, path, expected_size);
}

Result<std::vector<types::CompareLine>> read_and_normalize(
    const std::string& path, const CompareOptions& options) {
  Result<std::vector<std::string>> lines = read_file_lines(path);
  if (!lines.ok())
    return std::move(lines.error());

  std::vector<types::CompareLine> records;
  records.reserve(lines.value().size());
  std::uint64_t line_number = 1;
  for (std::string& line : lines.value()) {
    if (options.strip_trailing_cr && !line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    std::string normalized = normalize_line(line, options);
    records.push_back({std::move(line), std::move(normalized), line_number});
    ++line_number;
  }
  return records;
}

}  // namespace io_utils
