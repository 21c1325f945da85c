#include "support/interrupted_pipe.h"

#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <utility>

#include <gtest/gtest.h>

namespace testing_support {
namespace {

void ignore_signal(int) {}

}  // namespace

InterruptedPipe::InterruptedPipe(std::string content) {
  struct sigaction action {};
  action.sa_handler = ignore_signal;
  if (::sigaction(SIGUSR1, &action, &previous_) != 0)
    ADD_FAILURE() << "sigaction failed";
  int fds[2];
  if (::pipe(fds) != 0) {
    ADD_FAILURE() << "pipe failed";
    return;
  }
  read_fd_ = fds[0];
  const pthread_t reader = ::pthread_self();
  writer_ =
      std::thread([reader, write_fd = fds[1], content = std::move(content)] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::pthread_kill(reader, SIGUSR1);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(static_cast<ssize_t>(content.size()),
                  ::write(write_fd, content.data(), content.size()));
        ::close(write_fd);
      });
}

InterruptedPipe::~InterruptedPipe() {
  if (writer_.joinable())
    writer_.join();
  if (read_fd_ >= 0)
    ::close(read_fd_);
  ::sigaction(SIGUSR1, &previous_, nullptr);
}

}  // namespace testing_support
