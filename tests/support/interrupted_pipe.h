// A pipe whose reader is interrupted by a signal while it waits for data:
// for tests that a read failing with EINTR is repeated.
#ifndef VRELSDIFF_TESTS_SUPPORT_INTERRUPTED_PIPE_H_
#define VRELSDIFF_TESTS_SUPPORT_INTERRUPTED_PIPE_H_

#include <signal.h>

#include <string>
#include <thread>

namespace testing_support {

class InterruptedPipe {
 public:
  // A writer thread waits, sends SIGUSR1 to the constructing thread (whose
  // handler is installed without SA_RESTART, so a blocked read fails with
  // EINTR), waits again, then writes `content` and closes its end.
  explicit InterruptedPipe(std::string content);
  // Joins the writer, closes the read end and restores the old handler.
  ~InterruptedPipe();
  InterruptedPipe(const InterruptedPipe&) = delete;
  InterruptedPipe& operator=(const InterruptedPipe&) = delete;

  int read_fd() const { return read_fd_; }

 private:
  struct sigaction previous_ {};
  int read_fd_ = -1;
  std::thread writer_;
};

}  // namespace testing_support

#endif  // VRELSDIFF_TESTS_SUPPORT_INTERRUPTED_PIPE_H_
