// Reading an input file whole, checking it is UTF-8 and splitting it into
// lines.
#include "io_utils/read_lines.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <string_view>
#include <utility>

#include "io_utils/normalize.h"
#include "io_utils/utf8.h"

namespace io_utils {
namespace {

constexpr std::size_t kReadBufferSize = 8192;

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

// The bytes up to and including the last "\n": the lines read in full.
std::string_view complete_lines(std::string_view content) {
  std::size_t last = content.rfind('\n');
  return last == std::string_view::npos ? std::string_view()
                                        : content.substr(0, last + 1);
}

// Reads `fd` to its end through one buffer. `expected_size` only sizes the
// result up front; the file may be longer or shorter by the time it is read.
Result<std::string> read_all(int fd, const std::string& path,
                             std::size_t expected_size) {
  std::string content;
  content.reserve(expected_size);
  char buffer[kReadBufferSize];
  for (;;) {
    ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0)
      return content;
    if (count > 0) {
      content.append(buffer, static_cast<std::size_t>(count));
      continue;
    }
    if (errno == EINTR)
      continue;
    int errnum = errno;
    // Lines are checked as they are read, so a malformed line that came in
    // whole before the failing read is the failure to report.
    if (!is_valid_utf8(complete_lines(content))) {
      return DiffError::invalid_utf8(path);
    }
    return os_error(path, errnum);
  }
}

// The number of lines: one per "\n", and one more for bytes after the last.
std::size_t count_lines(std::string_view content) {
  std::size_t count = 0;
  const char* end = content.data() + content.size();
  for (const char* p = content.data(); p != end; ++count) {
    const void* newline =
        std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    p = newline == nullptr ? end : static_cast<const char*>(newline) + 1;
  }
  return count;
}

// Splits at "\n", dropping each "\n" and one "\r" right before it. A last
// line without "\n" keeps all of its bytes.
std::vector<std::string> split_lines(std::string_view content) {
  std::vector<std::string> lines;
  lines.reserve(count_lines(content));
  const char* p = content.data();
  const char* end = p + content.size();
  while (p != end) {
    const auto* newline = static_cast<const char*>(
        std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (newline == nullptr) {
      lines.emplace_back(p, end);
      break;
    }
    const char* line_end = newline;
    if (line_end > p && line_end[-1] == '\r')
      --line_end;
    lines.emplace_back(p, line_end);
    p = newline + 1;
  }
  return lines;
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
  Result<std::string> content = read_all(fd, path, expected_size);
  if (!content.ok())
    return std::move(content.error());
  // A line end is ASCII and never part of a multi-byte sequence, so the
  // whole content is valid exactly when every line is.
  if (!is_valid_utf8(content.value()))
    return DiffError::invalid_utf8(path);
  return split_lines(content.value());
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
