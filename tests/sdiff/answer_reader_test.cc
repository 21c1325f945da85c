// Reading merge answers through the one input buffer: answers that come in
// pieces or outgrow the buffer, end of input, and interrupted reads.
#include "sdiff/answer_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "io_utils/diff_error.h"
#include "support/interrupted_pipe.h"
#include "support/temp_dir.h"

namespace sdiff {
namespace {

using testing_support::InterruptedPipe;
using testing_support::TempDir;

std::vector<std::string> read_answers(AnswerReader& reader, int count) {
  std::vector<std::string> answers;
  for (int i = 0; i < count; ++i) {
    io_utils::Result<std::string> answer = read_answer(reader);
    if (!answer.ok()) {
      ADD_FAILURE() << io_utils::message_text(answer.error());
      break;
    }
    answers.push_back(answer.value());
  }
  return answers;
}

void write_piece(int fd, const std::string& piece) {
  ASSERT_EQ(static_cast<ssize_t>(piece.size()),
            ::write(fd, piece.data(), piece.size()));
}

// The long answer is larger than the buffer and crosses two of its fills;
// the first answer arrives in two writes.
TEST(ReadAnswer, JoinsPiecesAndAnswersLargerThanTheBuffer) {
  int fds[2];
  ASSERT_EQ(0, ::pipe(fds));
  const std::string long_answer =
      std::string(AnswerReader::kCapacity * 2 + 100, 'x') + "\n";
  std::thread writer([&] {
    write_piece(fds[1], "l");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    write_piece(fds[1], "\n" + long_answer + "r\nlast");
    ::close(fds[1]);
  });
  AnswerReader reader;
  reader.fd = fds[0];
  const std::vector<std::string> answers = read_answers(reader, 6);
  writer.join();
  ::close(fds[0]);
  EXPECT_EQ(
      (std::vector<std::string>{"l\n", long_answer, "r\n", "last", "", ""}),
      answers);
}

// Once input has ended, every later answer is empty, even if more could be
// read: a terminal user who typed end of input skips the remaining rows.
TEST(ReadAnswer, KeepsToTheEndOfInputOnceMet) {
  TempDir dir;
  const std::string path = dir.write("answers", "q\n");
  AnswerReader reader;
  reader.fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(reader.fd, 0);
  EXPECT_EQ((std::vector<std::string>{"q\n", ""}), read_answers(reader, 2));
  int append = ::open(path.c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(append, 0);
  write_piece(append, "l\n");
  ::close(append);
  EXPECT_EQ((std::vector<std::string>{""}), read_answers(reader, 1));
  ::close(reader.fd);
}

TEST(ReadAnswer, RepeatsAnInterruptedRead) {
  InterruptedPipe pipe("b\n");
  AnswerReader reader;
  reader.fd = pipe.read_fd();
  EXPECT_EQ((std::vector<std::string>{"b\n"}), read_answers(reader, 1));
}

}  // namespace
}  // namespace sdiff
