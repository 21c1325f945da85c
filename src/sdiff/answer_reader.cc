// Reading answers line by line through the merge's one input buffer.
#include "sdiff/answer_reader.h"

#include <errno.h>
#include <unistd.h>

#include <cstring>

#include "io_utils/diff_error.h"
#include "io_utils/utf8.h"

namespace sdiff {

io_utils::Result<std::string> read_answer(AnswerReader& reader) {
  std::string answer;
  for (;;) {
    if (reader.begin == reader.end) {
      // End of input is remembered: a terminal would otherwise wait for
      // more after the user has said there is no more.
      if (reader.at_end)
        break;
      ssize_t n = ::read(reader.fd, reader.buffer, AnswerReader::kCapacity);
      if (n < 0) {
        if (errno == EINTR)
          continue;
        return io_utils::DiffError::message(io_utils::os_error_text(errno));
      }
      reader.begin = 0;
      reader.end = static_cast<std::size_t>(n);
      if (n == 0)
        reader.at_end = true;
      continue;
    }
    const char* start = reader.buffer + reader.begin;
    const std::size_t available = reader.end - reader.begin;
    const void* newline = std::memchr(start, '\n', available);
    const std::size_t taken =
        newline != nullptr ? static_cast<std::size_t>(
                                 static_cast<const char*>(newline) - start) +
                                 1
                           : available;
    answer.append(start, taken);
    reader.begin += taken;
    if (newline != nullptr)
      break;
  }
  if (!io_utils::is_valid_utf8(answer)) {
    return io_utils::DiffError::message(
        std::string(io_utils::kInvalidUtf8StreamText));
  }
  return answer;
}

}  // namespace sdiff
