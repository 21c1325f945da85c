// The merge's reader of answers from standard input.
#ifndef VRELSDIFF_SDIFF_ANSWER_READER_H_
#define VRELSDIFF_SDIFF_ANSWER_READER_H_

#include <cstddef>
#include <string>

#include "io_utils/result.h"

namespace sdiff {

// One buffer kept for the whole merge: a read may bring in several answers,
// and the rest serves the following prompts.
struct AnswerReader {
  static constexpr std::size_t kCapacity = 8192;

  int fd = 0;
  char buffer[kCapacity];
  std::size_t begin = 0;  // first byte not yet handed out
  std::size_t end = 0;    // one past the last byte read
  bool at_end = false;    // end of input was met; later answers are empty
};

// The bytes up to and including the next "\n", or up to the end of input
// when no "\n" follows; the empty string once the input has ended. Fails on
// a read error or an answer that is not UTF-8.
io_utils::Result<std::string> read_answer(AnswerReader& reader);

}  // namespace sdiff

#endif  // VRELSDIFF_SDIFF_ANSWER_READER_H_
