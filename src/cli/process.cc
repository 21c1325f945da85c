// Start-up of the standard descriptors and the command-line layer's exits.
#include "cli/process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "i18n/sdiff_messages.h"
#include "io_utils/diff_error.h"
#include "io_utils/fd_io.h"

namespace cli {
namespace {

constexpr int kTroubleStatus = 2;

bool is_open(int fd) {
  return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

// A standard descriptor left closed would be handed to the next file the
// program opens, and the listing or a message would then land in that file;
// so a descriptor that cannot be filled ends the run before anything opens.
void fill_standard_descriptor(int fd) {
  if (is_open(fd))
    return;
  int null_fd = ::open("/dev/null", O_RDWR);
  if (null_fd < 0) {
    const int error = errno;
    if (fd != STDERR_FILENO) {
      (void)io_utils::write_all(
          STDERR_FILENO,
          "vrelsdiff: /dev/null: " + io_utils::os_error_text(error) + "\n");
    }
    std::_Exit(kTroubleStatus);
  }
  // The lower descriptors are open by now, so open() picked `fd` itself.
  if (null_fd != fd) {
    ::dup2(null_fd, fd);
    ::close(null_fd);
  }
}

}  // namespace

void prepare_process() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    fill_standard_descriptor(fd);
  }
  // A closed pipe and the file size limit then fail the write, which is
  // reported, instead of ending the process without a word.
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);
}

void exit_process(int status) {
  std::exit(status);
}

void exit_with_error(std::string_view message, bool with_try_help) {
  std::string line = "vrelsdiff: ";
  line += message;
  line += '\n';
  // Nothing is left to tell the user when standard error itself fails, and
  // the status already says the run failed.
  (void)io_utils::write_all(STDERR_FILENO, line);
  if (with_try_help) {
    (void)io_utils::write_all(STDERR_FILENO,
                              i18n::sdiff_messages::try_help() + "\n");
  }
  std::exit(kTroubleStatus);
}

}  // namespace cli
